#pragma once

#include <string>
#include <string_view>

namespace catalog {

// A typed value of a number question, brought into the form its expected value is written in: "." becomes ",",
// surrounding blanks go; an entry whose part after the first comma is a number other than 0 stays as it is,
// every other entry becomes the whole number it starts with ("07" -> "7", "7,0" -> "7", "" -> "0").
std::string normaliseEntry(std::string_view entry);

// Whether a typed value matches an expected value (both compared after trimming; the entry normalised first).
bool entryMatches(std::string_view entry, std::string_view expected);

} // namespace catalog
