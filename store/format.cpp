#include "store/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "store/calendar.h"

namespace store {
namespace {

// A finite number as decimal digits: |v| = 0.d1 d2 … dn × 10^(exponent + 1), so the first digit stands at the
// place `exponent` (0 the units, -1 the tenths). No digits at all is zero.
struct Decimal {
    bool negative = false;
    int count = 0;
    int exponent = 0;
    char digits[330] = {}; // the largest double has 309 integer digits

    char digitAt(int place) const {
        const int i = exponent - place;
        return i >= 0 && i < count ? digits[i] : '0';
    }
    // Digits before the point, at least the units zero.
    int intDigits() const { return count > 0 && exponent >= 0 ? exponent + 1 : 1; }
};

// The shortest fixed-point text that reads back as the same double: 2.675 gives "2.675" although the double
// lies just below it, so a tie is decided the way the number is written, not on binary noise. Past 2^53 every
// integer digit counts, so 1e23 keeps the digits of the integer the double holds.
Decimal shortestDecimal(double v) {
    Decimal d;
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::fixed);
    const char* point = std::find(buf, r.ptr, '.');
    d.exponent = static_cast<int>(point - buf) - 1;
    for (const char* p = buf; p < r.ptr; ++p) {
        if (*p == '.') continue;
        if (d.count == 0 && *p == '0') {
            --d.exponent; // a leading zero
            continue;
        }
        d.digits[d.count++] = *p;
    }
    while (d.count > 0 && d.digits[d.count - 1] == '0')
        --d.count;
    if (d.count == 0) d.exponent = 0;
    d.negative = v < 0 && d.count > 0;
    return d;
}

// Rounded half away from zero to `decimals` places.
Decimal roundedDecimal(double v, int decimals) {
    Decimal d = shortestDecimal(v);
    const int keep = d.exponent + 1 + decimals; // digits at or above the last place kept
    if (keep >= d.count) return d;
    if (keep < 0) {
        d.count = 0; // below half a unit of the last place
    } else {
        const bool up = d.digits[keep] >= '5';
        d.count = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[i] == '9')
                --i; // the nines turn to zeros and drop off the end
            if (i >= 0) {
                ++d.digits[i];
                d.count = i + 1;
            } else {
                d.digits[0] = '1'; // 9.96 → 10.0: the carry opens a new place
                d.count = 1;
                ++d.exponent;
            }
        }
    }
    if (d.count == 0) d.negative = false; // -0.001 shows as 0.00
    return d;
}

void appendFixed(std::string& out, const Decimal& d, int decimals) {
    if (d.negative) out += '-';
    for (int place = d.intDigits() - 1; place >= 0; --place)
        out += d.digitAt(place);
    if (decimals > 0) {
        out += '.';
        for (int place = -1; place >= -decimals; --place)
            out += d.digitAt(place);
    }
}

// The picture path wants the integer and decimal digits apart.
struct Rounded {
    bool negative = false;
    std::string intDigits;  // no leading zeros; "0" for a value below 1
    std::string fracDigits; // exactly the requested number of decimals
};

Rounded roundDecimal(double v, int decimals) {
    const Decimal d = roundedDecimal(v, decimals);
    Rounded r;
    r.negative = d.negative;
    for (int place = d.intDigits() - 1; place >= 0; --place)
        r.intDigits += d.digitAt(place);
    for (int place = -1; place >= -decimals; --place)
        r.fracDigits += d.digitAt(place);
    return r;
}

// Parses an unsigned number of minDigits to maxDigits digits, blanks around it allowed. -1 when malformed.
int parsePart(std::string_view s, std::size_t minDigits, std::size_t maxDigits) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    int value = 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        ++digits;
        ++i;
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i != s.size() || digits < minDigits || digits > maxDigits) return -1;
    return value;
}

bool isDigitCell(char c) {
    return c == '9' || c == '#';
}

} // namespace

void appendStrNumber(std::string& out, double v, int width, int decimals) {
    width = std::clamp(width, 0, kStrMaxWidth);
    decimals = std::clamp(decimals, 0, kStrMaxWidth);
    const auto cells = static_cast<std::size_t>(width);
    if (!std::isfinite(v)) {
        out.append(cells, '*');
        return;
    }
    const Decimal d = roundedDecimal(v, decimals);
    const int length = (d.negative ? 1 : 0) + d.intDigits() + (decimals > 0 ? decimals + 1 : 0);
    if (length > width) {
        out.append(cells, '*');
        return;
    }
    out.append(static_cast<std::size_t>(width - length), ' ');
    appendFixed(out, d, decimals);
}

std::string strNumber(double v, int width, int decimals) {
    std::string text;
    appendStrNumber(text, v, width, decimals);
    return text;
}

std::string plainNumber(double v) {
    if (!std::isfinite(v)) return "0";
    const Decimal d = shortestDecimal(v);        // also "0" for -0
    const int lowest = d.exponent - d.count + 1; // place of the last digit
    std::string text;
    appendFixed(text, d, lowest < 0 ? -lowest : 0);
    return text;
}

std::string transformPicture(double v, std::string_view picture) {
    bool european = false, blankZero = false, leftAlign = false;
    std::string_view tmpl = picture;
    if (!picture.empty() && picture.front() == '@') {
        const auto blank = picture.find(' ');
        const std::string_view functions =
            picture.substr(1, blank == std::string_view::npos ? picture.npos : blank - 1);
        for (char f : functions) {
            switch (f) {
            case 'E':
            case 'e':
                european = true;
                break;
            case 'Z':
            case 'z':
                blankZero = true;
                break;
            case 'B':
            case 'b':
                leftAlign = true;
                break;
            default:
                break;
            }
        }
        tmpl = blank == std::string_view::npos ? std::string_view() : picture.substr(blank + 1);
    }
    const char decimalChar = european ? ',' : '.';
    const char groupChar = european ? '.' : ',';

    std::string out(tmpl);
    const auto first = std::find_if(out.begin(), out.end(), isDigitCell) - out.begin();
    if (static_cast<std::size_t>(first) == out.size()) {
        if (!tmpl.empty()) return out; // literal text only
        std::string plain = std::isfinite(v) ? plainNumber(v) : "0";
        if (european) std::replace(plain.begin(), plain.end(), '.', ',');
        return plain;
    }
    const auto last = out.size() - 1 - (std::find_if(out.rbegin(), out.rend(), isDigitCell) - out.rbegin());
    std::size_t point = out.find('.', first);
    if (point > last) point = std::string::npos;
    const std::size_t intEnd = point == std::string::npos ? last + 1 : point; // one past the integer part

    int intCells = 0, fracCells = 0;
    for (std::size_t i = first; i <= last; ++i) {
        if (isDigitCell(out[i])) ++(i < intEnd ? intCells : fracCells);
    }

    auto overflow = [&] {
        std::fill(out.begin() + first, out.begin() + last + 1, '*');
        return out;
    };
    if (!std::isfinite(v)) return overflow();
    Rounded r = roundDecimal(v, fracCells);
    if (blankZero && !r.negative && r.intDigits == "0" && r.fracDigits.find_first_not_of('0') == std::string::npos)
        return std::string(out.size(), ' ');
    if (r.negative && r.intDigits == "0" && intCells <= 1)
        r.intDigits.clear(); // "-.50": the sign takes the place of the units zero
    if (static_cast<int>(r.intDigits.size()) > intCells) return overflow();

    // Integer part, right to left. `remaining` counts the digits still to place; a separator is shown
    // only while digits remain to its left.
    int remaining = static_cast<int>(r.intDigits.size());
    std::size_t firstDigitCell = intEnd;
    for (std::size_t i = intEnd; i-- > static_cast<std::size_t>(first);) {
        char& c = out[i];
        if (isDigitCell(c)) {
            if (remaining > 0) {
                c = r.intDigits[static_cast<std::size_t>(--remaining)];
                firstDigitCell = i;
            } else {
                c = ' ';
            }
        } else if (c == ',') {
            c = remaining > 0 ? groupChar : ' ';
        }
    }
    if (r.negative) {
        if (firstDigitCell == static_cast<std::size_t>(first)) return overflow();
        out[firstDigitCell - 1] = '-';
    }
    if (point != std::string::npos) {
        out[point] = decimalChar;
        std::size_t k = 0;
        for (std::size_t i = point + 1; i <= last; ++i)
            if (isDigitCell(out[i])) out[i] = r.fracDigits[k++];
    }
    if (leftAlign) {
        const auto lead = out.find_first_not_of(' ');
        if (lead != std::string::npos && lead > 0) out = out.substr(lead) + std::string(lead, ' ');
    }
    return out;
}

std::string formatDate(std::int32_t jd) {
    if (jd <= 0) return "  .  .    ";
    const CivilDate c = civilFromJulian(jd);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
    return buf;
}

std::optional<std::int32_t> parseDate(std::string_view text) {
    if (text.find_first_not_of(" .") == std::string_view::npos) return 0;
    const auto p1 = text.find('.');
    if (p1 == std::string_view::npos) return std::nullopt;
    const auto p2 = text.find('.', p1 + 1);
    if (p2 == std::string_view::npos) return std::nullopt;
    const int day = parsePart(text.substr(0, p1), 1, 2);
    const int month = parsePart(text.substr(p1 + 1, p2 - p1 - 1), 1, 2);
    // Two-digit years are not taken: dates are entered and shown with the century.
    const int year = parsePart(text.substr(p2 + 1), 4, 4);
    if (!isValidDate(year, month, day)) return std::nullopt;
    return julianDay(year, month, day);
}

} // namespace store
