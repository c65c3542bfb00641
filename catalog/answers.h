#pragma once

#include <QString>

#include <array>
#include <string>
#include <string_view>

namespace store {
class WorkArea;
}

namespace catalog {

// A catalog text in readable form: FRAGE and ANTW1..ANTW3 are stored substituted.
QString readableText(const store::WorkArea& area, const char* field);
// A field as it stands in the table, cp1252 read as Unicode.
QString fieldText(const store::WorkArea& area, const char* field);

// What a question's BITMAP says of its picture: none (empty), the catalog's filler ("KEINBILD", blanks and case
// ignored) or its own picture, held in PICTURE.
enum class PictureKind { None, Filler, Own };
PictureKind pictureKind(const store::WorkArea& area);

// The layout a question is shown in, from its MC_WERT and MC_WERT2: 1 answers to tick, 2 one value to type, 3 two.
int questionLayout(const store::WorkArea& area);

// The order of a question's answers after drawing r (0..100): for each position the answer it takes (0..2), -1
// for none. Only three orders occur: two answers keep or swap their places, three are rotated once or twice.
std::array<int, 3> answerOrder(int r, bool threeAnswers);

// Writes the answers ANTW1..ANTW3 of `from`'s current record, each with its flag OK1..OK3, into `to`'s current
// record in the order drawn by r; `from` and `to` may be the same area. False when a field could not be written.
bool writeShuffledAnswers(const store::WorkArea& from, store::WorkArea& to, int r);

// A typed value of a number question, brought into the form its expected value is written in: "." becomes ",",
// surrounding blanks go; an entry whose part after the first comma is a number other than 0 stays as it is,
// every other entry becomes the whole number it starts with ("07" -> "7", "7,0" -> "7", "" -> "0").
std::string normaliseEntry(std::string_view entry);

// Whether a typed value matches an expected value (both compared after trimming; the entry normalised first).
bool entryMatches(std::string_view entry, std::string_view expected);

} // namespace catalog
