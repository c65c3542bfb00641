#include "calc/numbers.h"

#include <charconv>
#include <string>

#include "store/format.h"

namespace calc {

double roundCents(double value) {
    // Through the engine's own text so that the value equals what a table field would hold; from_chars reads
    // it whatever C locale Qt has set.
    std::string text = store::strNumber(value, 30, 2);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    double rounded = 0;
    const auto r = std::from_chars(text.data() + first, text.data() + text.size(), rounded);
    return r.ec == std::errc() ? rounded : value;
}

} // namespace calc
