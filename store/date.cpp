#include "date.h"

namespace store {

namespace {
bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// Julian day numbers of 0001-01-01 and 9999-12-31.
constexpr std::int32_t kFirstDay = 1721426;
constexpr std::int32_t kLastDay = 5373484;
} // namespace

bool isValidDate(int year, int month, int day) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    int last = kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
    return day <= last;
}

std::int32_t julianDay(int year, int month, int day) {
    if (!isValidDate(year, month, day)) return 0;
    // Count from a year that starts in March, so that the leap day is the last day of the counting year.
    int shift = month <= 2 ? 1 : 0;
    std::int64_t y = std::int64_t(year) + 4800 - shift;
    std::int64_t m = month + 12 * shift - 3;
    std::int64_t jd = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    return static_cast<std::int32_t>(jd);
}

CivilDate civilDate(std::int32_t julianDay) {
    if (julianDay < kFirstDay || julianDay > kLastDay) return {};
    std::int64_t a = std::int64_t(julianDay) + 32044;
    std::int64_t centuries = (4 * a + 3) / 146097;
    std::int64_t c = a - 146097 * centuries / 4;
    std::int64_t years = (4 * c + 3) / 1461;
    std::int64_t e = c - 1461 * years / 4;
    std::int64_t m = (5 * e + 2) / 153;
    CivilDate d;
    d.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    d.month = static_cast<int>(m + 3 - 12 * (m / 10));
    d.year = static_cast<int>(100 * centuries + years - 4800 + m / 10);
    return d;
}

} // namespace store
