#pragma once

#include <string>
#include <string_view>

namespace training {

// Whether a typed value of a number question is right against its expected value. The entry is normalised as
// the catalog writes values (catalog::normaliseEntry: "." becomes ",", "07" and "7,0" become "7", "1.000" becomes
// 1, an empty entry 0); then trailing zeros after the comma are dropped on both sides, so that "0,50" is right
// against "0,5": the same value written with one more digit.
bool entryRight(std::string_view entry, std::string_view expected);

// The form both sides are compared in.
std::string comparableValue(std::string_view normalised);

} // namespace training
