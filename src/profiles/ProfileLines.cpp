#include "ProfileLines.h"
#include "UProfiles.h"

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

// The key followed by its first 15 bytes, so that 16 key bytes in a row can
// be taken from any position.
struct WideKey {
    unsigned char bytes[ProfileKeyLength + 15];
    WideKey()
    {
        for (int i = 0; i < ProfileKeyLength + 15; ++i) bytes[i] = ProfileKey[i % ProfileKeyLength];
    }
};

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

}  // namespace

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

bool LineReader::Next(char*& data, size_t& length)
{
    spanning_.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_ && !Fill()) {
            data = &spanning_[0];
            length = spanning_.size();
            return any;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        any = true;
        char* start = buffer_.data() + pos_;
        char* limit = buffer_.data() + end_;
        char* stop = const_cast<char*>(FindLineEnd(start, limit));
        if (stop == limit) {
            spanning_.append(start, stop);
            pos_ = end_;
            continue;
        }
        skipLineFeed_ = *stop == '\r';
        pos_ = static_cast<size_t>(stop - buffer_.data()) + 1;
        if (spanning_.empty()) {
            data = start;
            length = static_cast<size_t>(stop - start);
        } else {
            spanning_.append(start, stop);
            data = &spanning_[0];
            length = spanning_.size();
        }
        return true;
    }
}

bool LineReader::Fill()
{
    DWORD got = 0;
    if (!ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &got, nullptr)) {
        error_ = GetLastError();
        if (error_ == ERROR_SUCCESS) error_ = ERROR_READ_FAULT;
        return false;
    }
    if (got == 0) return false;
    pos_ = 0;
    end_ = got;
    return true;
}

void LineWriter::Put(const char* data, size_t length, bool scramble)
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

bool LineWriter::Flush()
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

void LineWriter::Fail(DWORD error)
{
    ok_ = false;
    error_ = error;
}

std::string ScrambleLine(const std::string& line, const std::string& marker)
{
    std::string result = line;
    if (marker == "*") ScrambleBytes(&result[0], result.size());
    return result;
}

