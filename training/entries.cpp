#include "training/entries.h"

#include "catalog/answers.h"

namespace training {

namespace {

std::string_view trim(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string comparableValue(std::string_view normalised) {
    std::string text(trim(normalised));
    const size_t comma = text.find(',');
    if (comma == std::string::npos) return text;
    // Only a pure digit run after the comma is a fraction whose trailing zeros mean nothing.
    if (text.find_first_not_of("0123456789", comma + 1) != std::string::npos) return text;
    while (text.size() > comma + 1 && text.back() == '0')
        text.pop_back();
    if (text.size() == comma + 1) text.pop_back();
    return text;
}

bool entryRight(std::string_view entry, std::string_view expected) {
    return comparableValue(catalog::normaliseEntry(entry)) == comparableValue(expected);
}

} // namespace training
