#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// Dates are Julian day numbers of the proleptic Gregorian calendar (2000-01-01 is 2451545); 0 is the blank date.
struct CivilDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool isValidDate(int year, int month, int day);
std::int32_t julianDay(int year, int month, int day);
CivilDate civilFromJulian(std::int32_t julianDay);

// "dd.mm.yyyy"; the blank date (0) gives "  .  .    ".
std::string formatDate(std::int32_t julianDay);

// Reads "dd.mm.yyyy" as typed into a date field: blanks inside the parts are allowed ("1.2.2024", " 1. 2.2024"),
// the year must have four digits. A text of blanks and points only is the blank date (0). A date that does not
// exist (31.02.2024) or any other text gives nothing.
std::optional<std::int32_t> parseDate(std::string_view text);

// Today's local date as a Julian day number.
std::int32_t today();

// Seconds since midnight with hundredths, as the runtime's clock gives them (45296.12 at 12:34:56.120).
double secondsSinceMidnight();
double secondsSinceMidnight(int hours, int minutes, int seconds, int milliseconds);

// The local time as "hh:mm:ss".
std::string timeText();
std::string timeText(int hours, int minutes, int seconds);

} // namespace store
