#include "store/codepage.h"

#include <array>
#include <cstdint>

namespace store {
namespace {

// Upper halves (0x80-0xFF) of the code pages, after the published Unicode mappings.
constexpr std::array<char16_t, 128> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, // C8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, // E8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF, // F8
};

constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0, // F8
};

int reverseLookup(const std::array<char16_t, 128>& high, char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    for (std::size_t i = 0; i < high.size(); ++i)
        if (high[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
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

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one code point at pos and advances pos. On malformed input returns kInvalid and advances over
// the maximal subpart only, so that a following valid character is not swallowed.
char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0; // overlong
        if (b0 == 0xED) hi = 0x9F; // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90; // overlong
        if (b0 == 0xF4) hi = 0x8F; // above U+10FFFF
    } else {
        ++pos;
        return kInvalid;
    }
    std::size_t i = pos + 1;
    for (int k = 0; k < need; ++k, ++i) {
        if (i >= s.size()) {
            pos = i;
            return kInvalid;
        }
        const auto b = static_cast<unsigned char>(s[i]);
        const unsigned char min = k == 0 ? lo : 0x80;
        const unsigned char max = k == 0 ? hi : 0xBF;
        if (b < min || b > max) {
            pos = i;
            return kInvalid;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    pos = i;
    return cp;
}

std::string toUtf8(std::string_view bytes, const std::array<char16_t, 128>& high) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{high[b - 0x80]});
    }
    return out;
}

std::string fromUtf8(std::string_view utf8, const std::array<char16_t, 128>& high) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = decodeUtf8(utf8, pos);
        const int b = cp == kInvalid ? -1 : reverseLookup(high, cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

// Nearest cp1252 look-alike of the cp850 characters cp1252 lacks.
char nearestAnsi(char32_t cp) {
    switch (cp) {
    case 0x2500: // ─
    case 0x2550: // ═
        return '-';
    case 0x2502: // │
    case 0x2551: // ║
        return '|';
    case 0x2591: // ░
    case 0x2592:
    case 0x2593:
    case 0x2580: // ▀
    case 0x2584:
    case 0x2588:
    case 0x25A0: // ■
        return '#';
    case 0x0131: // dotless i
        return 'i';
    case 0x2017: // double low line
        return '_';
    default:
        // The remaining box-drawing characters are corners, tees and crossings.
        return cp >= 0x2500 && cp <= 0x257F ? '+' : '?';
    }
}

} // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
    return byte < 0x80 ? byte : kCp1252High[byte - 0x80];
}
char32_t cp850ToUnicode(unsigned char byte) {
    return byte < 0x80 ? byte : kCp850High[byte - 0x80];
}
int unicodeToCp1252(char32_t codePoint) {
    return reverseLookup(kCp1252High, codePoint);
}
int unicodeToCp850(char32_t codePoint) {
    return reverseLookup(kCp850High, codePoint);
}

std::string cp1252ToUtf8(std::string_view bytes) {
    return toUtf8(bytes, kCp1252High);
}
std::string cp850ToUtf8(std::string_view bytes) {
    return toUtf8(bytes, kCp850High);
}
std::string utf8ToCp1252(std::string_view utf8) {
    return fromUtf8(utf8, kCp1252High);
}
std::string utf8ToCp850(std::string_view utf8) {
    return fromUtf8(utf8, kCp850High);
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size())
        if (decodeUtf8(bytes, pos) == kInvalid) return false;
    return true;
}

std::string oemToAnsi(std::string_view cp850Bytes) {
    // Built once: the conversion is a plain byte-to-byte table.
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char32_t cp = cp850ToUnicode(static_cast<unsigned char>(b));
            const int ansi = unicodeToCp1252(cp);
            t[b] = ansi >= 0 ? static_cast<char>(ansi) : nearestAnsi(cp);
        }
        return t;
    }();
    std::string out(cp850Bytes.size(), '\0');
    for (std::size_t i = 0; i < cp850Bytes.size(); ++i)
        out[i] = table[static_cast<unsigned char>(cp850Bytes[i])];
    return out;
}

} // namespace store
