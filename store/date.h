#pragma once

#include <cstdint>

namespace store {

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// True for an existing day of the Gregorian calendar in the years 1..9999 (what a D field can hold).
bool isValidDate(int year, int month, int day);

// Julian day number of a Gregorian date (2000-01-01 is 2451545); 0, the blank date, when the date does not exist.
std::int32_t julianDay(int year, int month, int day);

// The Gregorian date of a Julian day number; all zero for 0 and for numbers outside the years 1..9999.
CivilDate civilDate(std::int32_t julianDay);

} // namespace store
