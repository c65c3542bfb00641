#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// Numbers are rounded half away from zero on their shortest decimal form, so a value that reads 2.675 rounds
// to 2.68 although the double lies just below it. That form is also the text plainNumber() writes, so a number
// is rounded the way it reads in the INI file and in VAL()'s input.

// The longest text str() gives: an index key or a field holds no more.
inline constexpr int kStrMaxWidth = 255;

// The runtime's str(): right-aligned in `width` characters with `decimals` places after a '.';
// '*' repeated `width` times when the number does not fit (or is not finite). A width below 1 gives "";
// width and decimals are cut to kStrMaxWidth. A value that rounds to zero has no sign ("-0.001" → "0.00").
std::string strNumber(double v, int width = 10, int decimals = 0);
// The same text appended to out; allocates nothing once out has room for it (index keys are built this way).
void appendStrNumber(std::string& out, double v, int width, int decimals);

// The number without leading blanks, '.' as decimal point, and only the decimals it has: 30 → "30", 2.5 → "2.5".
std::string plainNumber(double v);

// A number through a display picture such as "@E 999,999.99" or "9,999,999 Bytes".
//  - "@" starts the function letters, ended by a blank: E European (decimal comma, thousands point),
//    Z blank when the rounded value is zero, B left-aligned. Other letters are ignored.
//  - In the template, '9' and '#' are digit positions; the first '.' between them is the decimal point,
//    ',' before it a thousands separator (shown only with a digit to its left). Anything else is literal text
//    and kept. Leading zeros are blank, but the units digit is always shown (0 gives "0,00").
//  - A negative number takes a '-' in the cell before its first digit (-0.5 in "9.99" gives "-.50").
//  - A number that does not fit turns every cell of the numeric part into '*'; literal text stays.
//  - Without a template the plain number is given (with a decimal comma under E).
std::string transformPicture(double v, std::string_view picture);

// "dd.mm.yyyy"; the blank date (0) gives "  .  .    ".
std::string formatDate(std::int32_t julianDay);

// Reads "dd.mm.yyyy" as typed into a date field: blanks inside the parts are allowed ("1.2.2024", " 1. 2.2024"),
// the year must have four digits. A text of blanks and points only is the blank date (0). A date that does not
// exist (31.02.2024) or any other text gives nothing.
std::optional<std::int32_t> parseDate(std::string_view text);

} // namespace store
