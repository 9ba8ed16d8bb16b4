// The line level of profile files, shared by their reader and writer: the
// scrambling and the buffered line input and output.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Scrambles (or unscrambles) bytes in place with the key bytes that follow
// KeyPosition, and advances it; bytes that would become CR or LF stay as they are.
void ScrambleBytes(char* data, size_t length);

// Lines of a file read through a buffer of its own. A line ends at CR LF, at
// LF or at CR; every other byte, 0 and 26 included, is data. A read error
// ends the lines early and is kept: the caller must not take it for the end.
class LineReader {
public:
    explicit LineReader(HANDLE file) : file_(file), buffer_(1 << 16) {}
    // The next line without its line end, in place in the buffer (the caller
    // may change its bytes) until the next call; false at the end of the file.
    bool Next(char*& data, size_t& length);
    bool Failed() const { return error_ != ERROR_SUCCESS; }
    DWORD Error() const { return error_; }

private:
    bool Fill();

    HANDLE file_;
    std::vector<char> buffer_;
    std::string spanning_;  // a line that began in an earlier buffer load
    size_t pos_ = 0;
    size_t end_ = 0;
    bool skipLineFeed_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

// Lines written through a buffer of its own, each followed by CR LF,
// scrambled as they are copied when asked. The first failed write ends the
// writing and keeps its error code.
class LineWriter {
public:
    explicit LineWriter(HANDLE file) : file_(file), buffer_(1 << 16) {}
    void PutPlain(const std::string& line) { Put(line.data(), line.size(), false); }
    void PutScrambled(const std::string& line) { Put(line.data(), line.size(), true); }
    // Writes what is still buffered; false when any write failed.
    bool Finish() { return Flush() && ok_; }
    DWORD Error() const { return error_; }

private:
    void Put(const char* data, size_t length, bool scramble);
    bool Flush();
    void Fail(DWORD error);

    HANDLE file_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool ok_ = true;
    DWORD error_ = ERROR_SUCCESS;
};
