#include "foundations/VM4_ShortString.h"

#include <array>
#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char32_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the code point starting at `pos` and advances past it. Malformed
// sequences consume one byte and yield kInvalid.
char32_t nextCodePoint(const std::string& utf8, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    std::size_t extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07u;
    } else {
        ++pos;
        return kInvalid;
    }
    if (pos + extra >= utf8.size()) {
        ++pos;
        return kInvalid;
    }
    for (std::size_t i = 1; i <= extra; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[pos + i]);
        if (!isContinuation(byte)) {
            ++pos;
            return kInvalid;
        }
        cp = (cp << 6) | (byte & 0x3Fu);
    }
    pos += extra + 1;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char windows1252ByteFor(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == cp) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::size_t Utf8Length(const std::string& utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) nextCodePoint(utf8, pos);
    return count;
}

std::string CutToCapacity(const std::string& utf8, std::size_t capacity) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < capacity && pos < utf8.size(); ++count) nextCodePoint(utf8, pos);
    return utf8.substr(0, pos);
}

std::string Utf8ToWindows1252(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) out += windows1252ByteFor(nextCodePoint(utf8, pos));
    return out;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        appendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kHighControlBlock[byte - 0x80] : char32_t{byte});
    }
    return out;
}
