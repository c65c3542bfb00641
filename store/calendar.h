#pragma once

#include <cstdint>
#include <string>

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

// Today's local date as a Julian day number.
std::int32_t today();

// Seconds since midnight with hundredths, as the runtime's clock gives them (45296.12 at 12:34:56.120).
double secondsSinceMidnight();
double secondsSinceMidnight(int hours, int minutes, int seconds, int milliseconds);

// The local time as "hh:mm:ss".
std::string timeText();
std::string timeText(int hours, int minutes, int seconds);

} // namespace store
