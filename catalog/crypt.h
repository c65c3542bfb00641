#pragma once

#include <string>
#include <string_view>

namespace catalog {

// The substitution between the readable and the stored form of the catalog texts: a letter at position i of
// CENCRYPT is stored as the character at position i of CDECRYPT (cp1252 bytes 161..250, no umlaut, no ß, and none
// of the signs a German text uses, such as § ° ² « » é, so that readable texts never contain a stored character).
// Every other character passes unchanged, so stored texts keep their length and line structure.
extern const std::string_view CENCRYPT;
extern const std::string_view CDECRYPT;
// Handed to both routines; it has no effect on the result.
extern const std::string_view CKEY;

// Stored form -> readable text.
std::string ENCRYPT(std::string_view text, std::string_view key = CKEY);
// Readable text -> stored form.
std::string DECRYPT(std::string_view text, std::string_view key = CKEY);

} // namespace catalog
