#include "UProfiles.h"
#include "MsgBox.h"
#include "RuntimeEnv.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

const unsigned char ProfileKey[ProfileKeyLength] = {
    0x91, 0xC5, 0xD1, 0xD9, 0xE3, 0xBE, 0x85, 0xF4, 0xCE, 0x8F, 0xF7, 0xFF,
    0xD2, 0xA6, 0xE7, 0xCF, 0xE5, 0xB4, 0x56, 0xB4, 0xAA, 0x93, 0xC4, 0xA2,
    0xE3, 0xDA, 0x80, 0xFB, 0x85, 0x74, 0x37, 0xBA, 0xAF, 0xC4, 0xB2, 0xCB,
    0x92, 0xB2, 0xFA, 0x91, 0x97, 0x9E, 0xED, 0x9A, 0xCC, 0xF8, 0xE6, 0xF1,
    0xE1, 0x72, 0xAC, 0x84, 0x4C, 0x87, 0xA6, 0x86, 0x8D, 0xC6, 0xB3, 0x9E,
    0xF9, 0xD3, 0xF7, 0x99, 0xDB, 0x9D, 0x8E, 0xA4, 0x8D, 0x9B, 0xA3, 0x82,
    0xF1, 0xF1,
};

int KeyPosition = 0;

namespace {

const char* const ScrambleMarker = "*";
const char* const SaveErrorPrefix = "Cannot save profile: ";

// The key followed by its first 15 bytes, so that 16 key bytes in a row can
// be taken from any position.
struct WideKey {
    unsigned char bytes[ProfileKeyLength + 15];
    WideKey()
    {
        for (int i = 0; i < ProfileKeyLength + 15; ++i) bytes[i] = ProfileKey[i % ProfileKeyLength];
    }
};

// XORs each byte with the next key byte, except where the result would be a
// line end: such a byte stays as it is, which also undoes itself on reading.
// Sixteen bytes at a time with SSE2 (every x86-64 processor has it), since
// loading and saving spend most of their time here.
void ScrambleBytes(char* data, size_t length)
{
    static const WideKey wide;
    if (length == 0) return;
    size_t next = static_cast<size_t>(KeyPosition % ProfileKeyLength);
    const __m128i cr = _mm_set1_epi8(13), lf = _mm_set1_epi8(10);
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i* at = reinterpret_cast<__m128i*>(data + i);
        __m128i c = _mm_loadu_si128(at);
        __m128i x = _mm_xor_si128(c, _mm_loadu_si128(reinterpret_cast<const __m128i*>(wide.bytes + next)));
        __m128i keep = _mm_or_si128(_mm_cmpeq_epi8(x, cr), _mm_cmpeq_epi8(x, lf));
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(keep, c), _mm_andnot_si128(keep, x)));
        next = (next + 16) % ProfileKeyLength;
    }
    for (; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        unsigned char x = ProfileKey[next] ^ c;
        data[i] = static_cast<char>(x == 13 || x == 10 ? c : x);
        next = (next + 1) % ProfileKeyLength;
    }
    KeyPosition = next == 0 ? ProfileKeyLength : static_cast<int>(next);
}

// The first CR or LF in [p, limit), or limit; sixteen bytes at a time.
const char* FindLineEnd(const char* p, const char* limit)
{
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; limit - p >= 16; p += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        int ends = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (ends != 0) return p + __builtin_ctz(static_cast<unsigned>(ends));
    }
    while (p < limit && *p != '\r' && *p != '\n') ++p;
    return p;
}

// ---- Writing ----

// Writes through a buffer of its own, scrambling as it copies. The first
// failed write ends the writing and keeps its error code.
class LineWriter {
public:
    explicit LineWriter(HANDLE file) : file_(file), buffer_(1 << 16) {}

    void PutPlain(const char* line) { Put(line, strlen(line), false); }

    void PutScrambled(const std::string& line) { Put(line.data(), line.size(), true); }

    bool Finish() { return Flush() && ok_; }

    DWORD Error() const { return error_; }

private:
    void Put(const char* data, size_t length, bool scramble)
    {
        while (length > 0 && ok_) {
            if (used_ == buffer_.size()) Flush();
            size_t piece = std::min(length, buffer_.size() - used_);
            memcpy(buffer_.data() + used_, data, piece);
            if (scramble) ScrambleBytes(buffer_.data() + used_, piece);
            used_ += piece;
            data += piece;
            length -= piece;
        }
        if (ok_) {
            if (buffer_.size() - used_ < 2) Flush();
            buffer_[used_++] = '\r';
            buffer_[used_++] = '\n';
        }
    }

    bool Flush()
    {
        if (!ok_ || used_ == 0) return ok_;
        DWORD written = 0;
        if (!WriteFile(file_, buffer_.data(), static_cast<DWORD>(used_), &written, nullptr)) {
            Fail(GetLastError());
        } else if (written != used_) {
            Fail(ERROR_WRITE_FAULT);
        }
        used_ = 0;
        return ok_;
    }

    void Fail(DWORD error)
    {
        ok_ = false;
        error_ = error;
    }

    HANDLE file_;
    std::vector<char> buffer_;
    size_t used_ = 0;
    bool ok_ = true;
    DWORD error_ = ERROR_SUCCESS;
};

void PutSection(LineWriter& writer, const char* header, const TextList& lines)
{
    writer.PutScrambled(header);
    for (const std::string& line : lines) writer.PutScrambled(line);
}

// Writes the whole layout and closes the file; false, with the error as the
// thread's last error, when a write or the close failed.
bool WriteProfileFile(HANDLE file)
{
    LineWriter writer(file);
    writer.PutPlain(ScrambleMarker);
    KeyPosition = 0;
    PutSection(writer, "[DIRECTORIES]", Profile.Folders);
    PutSection(writer, "[FILES]", Profile.Files);
    PutSection(writer, "[POLICIES]", Profile.Policies);
    PutSection(writer, "[TASKS]", Profile.Tasks);
    PutSection(writer, "[OPTIONS]", Profile.Options);
    writer.PutScrambled("[END1]");
    bool written = writer.Finish();
    bool closed = CloseHandle(file) != 0;
    if (!written) SetLastError(writer.Error());
    return written && closed;
}

// The old file must be one that may be overwritten: a read-only file, or one
// that another process holds open, is refused before anything changes (a
// rename alone would replace a read-only file on some systems).
bool TargetWritable(const std::string& path)
{
    // Checked by its attribute too: where the program runs with full rights
    // on the underlying file system, opening alone does not refuse it.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

bool FailSave(const std::string& tempPath)
{
    DWORD error = GetLastError();
    DeleteFileA(tempPath.c_str());
    ShowSystemError(SaveErrorPrefix, error);
    return false;
}

// ---- Reading ----

// Lines of a file read through a buffer of its own. A line ends at CR LF, at
// LF or at CR; every other byte, 0 and 26 included, is data. A read error
// ends the file early, keeping what was read.
class LineReader {
public:
    explicit LineReader(HANDLE file) : file_(file), buffer_(1 << 16) {}

    bool Next(std::string& line)
    {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == end_ && !Fill()) return any;
            if (skipLineFeed_) {
                skipLineFeed_ = false;
                if (buffer_[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            any = true;
            const char* start = buffer_.data() + pos_;
            const char* limit = buffer_.data() + end_;
            const char* stop = FindLineEnd(start, limit);
            line.append(start, stop);
            if (stop == limit) {
                pos_ = end_;
                continue;
            }
            skipLineFeed_ = *stop == '\r';
            pos_ = static_cast<size_t>(stop - buffer_.data()) + 1;
            return true;
        }
    }

private:
    bool Fill()
    {
        DWORD got = 0;
        if (!ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr) || got == 0)
            return false;
        pos_ = 0;
        end_ = got;
        return true;
    }

    HANDLE file_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool skipLineFeed_ = false;
};

// One list being refilled. The lines it held are overwritten in place and
// the rest cut off at the end, so loading a profile again (as the agent does
// on every start of protection) reuses their memory instead of freeing and
// allocating every line anew.
struct Section {
    TextList* list;
    size_t filled = 0;

    void Add(const std::string& line)
    {
        if (filled < list->size())
            (*list)[filled] = line;
        else
            list->push_back(line);
        ++filled;
    }

    void Finish() { list->resize(filled); }
};

Section* SectionOf(const std::string& line, Section* sections)
{
    static const char* const headers[] = {"[DIRECTORIES]", "[FILES]", "[POLICIES]", "[TASKS]", "[OPTIONS]"};
    if (line.empty() || line[0] != '[') return nullptr;
    for (int i = 0; i < 5; ++i)
        if (line == headers[i]) return &sections[i];
    return nullptr;
}

// Replaces the five lists by the file's lines.
void ReadProfileLines(HANDLE file)
{
    Section sections[] = {{&Profile.Folders}, {&Profile.Files}, {&Profile.Policies}, {&Profile.Tasks},
                          {&Profile.Options}};
    LineReader reader(file);
    Section* section = nullptr;
    bool scrambled = false;
    std::string line;
    while (reader.Next(line)) {
        if (scrambled) ScrambleBytes(&line[0], line.size());
        if (line == ScrambleMarker) {
            scrambled = true;
        } else if (Section* header = SectionOf(line, sections)) {
            section = header;
        } else if (section) {
            section->Add(line);
        }
    }
    for (Section& s : sections) s.Finish();
}

// A decimal number of up to 64 bits: leading blanks and a sign allowed,
// nothing after the digits.
bool ParseInt64(const std::string& text, uint64_t& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    const uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? 0 - magnitude : magnitude;
    return true;
}

void ReadPasswordOption()
{
    Profile.OwnPassword = false;
    Profile.PasswordHash = 0;
    for (const std::string& line : Profile.Options) {
        if (line.compare(0, 4, "PWD=") != 0) continue;
        uint64_t value = 0;
        if (!ParseInt64(line.substr(4, 50), value)) continue;
        uint32_t low = static_cast<uint32_t>(value);
        if (low == 0) continue;
        Profile.PasswordHash = low;
        Profile.OwnPassword = true;
    }
}

}  // namespace

std::string ScrambleLine(const std::string& line, const std::string& marker)
{
    std::string result = line;
    if (marker == ScrambleMarker) ScrambleBytes(&result[0], result.size());
    return result;
}

// The new file is written completely beside the old one and only then put in
// its place, so a failed save never costs the profile that was there.
bool SaveProfile(const std::string& name, uint32_t passwordHash)
{
    std::string path = ProfilesDir + (name.empty() ? std::string("default") : name) + ".vtp";
    std::string tempPath = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    if (!TargetWritable(path)) return FailSave(tempPath);
    HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FailSave(tempPath);

    Profile.Options.clear();
    Profile.Options.push_back("PWD=" + std::to_string(passwordHash));

    if (!WriteProfileFile(file)) return FailSave(tempPath);
    if (!MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FailSave(tempPath);
    return true;
}

bool LoadProfile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    KeyPosition = 0;
    ReadProfileLines(file);
    CloseHandle(file);

    ReadPasswordOption();
    return true;
}
