#pragma once

#include <string>
#include <string_view>

namespace store {

// The two single-byte code pages of the program: cp1252 (Windows ANSI) for tables and files it writes,
// cp850 (OEM, DOS) for a few stored captions. Bytes 0x00-0x7F are ASCII in both.

// The Unicode code point of one byte. Every byte maps: the five bytes cp1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) map to the C1 control with the same number, as Windows does.
char32_t cp1252ToUnicode(unsigned char byte);
char32_t cp850ToUnicode(unsigned char byte);

// The byte for a code point, or -1 when the code page has none.
int unicodeToCp1252(char32_t codePoint);
int unicodeToCp850(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view bytes);
std::string cp850ToUtf8(std::string_view bytes);

// Characters the code page lacks become '?'. Invalid UTF-8 (stray continuation bytes, truncated or
// overlong sequences, surrogates, values above U+10FFFF) gives one '?' per maximal invalid subpart.
std::string utf8ToCp1252(std::string_view utf8);
std::string utf8ToCp850(std::string_view utf8);

// True when the text is well-formed UTF-8 (plain ASCII is).
bool isValidUtf8(std::string_view bytes);

// The Windows OEM-to-ANSI conversion: cp850 bytes to cp1252 bytes. Characters with a cp1252
// counterpart keep their identity (0x81 'ü' becomes 0xFC). The rest take the nearest look-alike:
// box-drawing lines become '-' (horizontal), '|' (vertical) or '+' (corners, tees, crossings);
// shades and blocks (0xB0-0xB2, 0xDB, 0xDC, 0xDF, 0xFE) become '#'; 0xD5 dotless i becomes 'i';
// 0xF2 double low line becomes '_'. Nothing becomes '?': every cp850 byte has a mapping.
std::string oemToAnsi(std::string_view cp850Bytes);

} // namespace store
