#include "store/format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "store/calendar.h"

namespace store {
namespace {

struct Rounded {
    bool negative = false;
    std::string intDigits;  // no leading zeros; "0" for a value below 1
    std::string fracDigits; // exactly the requested number of decimals
};

// Shortest round-trip form of |v| in fixed notation, e.g. "2.675" or "1000".
std::string shortestFixed(double magnitude) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

Rounded roundDecimal(double v, int decimals) {
    const std::string text = shortestFixed(std::fabs(v));
    const auto point = text.find('.');
    std::string intPart = text.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : text.substr(point + 1);
    frac.resize(static_cast<std::size_t>(decimals) + 1, '0');
    const bool roundUp = frac.back() >= '5';
    frac.pop_back();

    std::string digits = intPart + frac;
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0 && digits[i] == '9'; --i)
            digits[i] = '0';
        if (i >= 0)
            ++digits[i];
        else
            digits.insert(digits.begin(), '1');
    }
    Rounded r;
    r.intDigits = digits.substr(0, digits.size() - frac.size());
    r.fracDigits = digits.substr(digits.size() - frac.size());
    const auto firstNonZero = r.intDigits.find_first_not_of('0');
    r.intDigits = firstNonZero == std::string::npos ? "0" : r.intDigits.substr(firstNonZero);
    const bool zero = r.intDigits == "0" && r.fracDigits.find_first_not_of('0') == std::string::npos;
    r.negative = v < 0 && !zero;
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

std::string strNumber(double v, int width, int decimals) {
    width = std::max(width, 0);
    decimals = std::clamp(decimals, 0, 30);
    if (!std::isfinite(v)) return std::string(static_cast<std::size_t>(width), '*');
    const Rounded r = roundDecimal(v, decimals);
    std::string text = r.negative ? "-" : "";
    text += r.intDigits;
    if (decimals > 0) text += '.' + r.fracDigits;
    if (text.size() > static_cast<std::size_t>(width)) return std::string(static_cast<std::size_t>(width), '*');
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::string plainNumber(double v) {
    if (!std::isfinite(v)) return "0";
    if (v == 0) return "0"; // also for -0
    std::string text = v < 0 ? "-" : "";
    text += shortestFixed(std::fabs(v));
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
