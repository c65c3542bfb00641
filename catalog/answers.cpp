#include "catalog/answers.h"

#include <algorithm>
#include <cctype>

namespace catalog {

namespace {

std::string_view trim(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The whole number a text starts with (an optional sign, then digits), without leading zeros; "0" when none.
std::string leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    std::string digits;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        digits += s[i++];
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty())
        return "0";
    return negative ? "-" + digits : digits;
}

} // namespace

std::string normaliseEntry(std::string_view entry) {
    std::string text(trim(entry));
    std::replace(text.begin(), text.end(), '.', ',');
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        const std::string_view after = std::string_view(text).substr(comma + 1, 10);
        if (leadingNumber(after) != "0")
            return text;
    }
    return leadingNumber(text);
}

bool entryMatches(std::string_view entry, std::string_view expected) {
    return normaliseEntry(entry) == trim(expected);
}

} // namespace catalog
