#include "store/calendar.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace store {
namespace {

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

struct LocalClock {
    std::tm tm{};
    int milliseconds = 0;
};

LocalClock localNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    LocalClock c;
    localtime_r(&t, &c.tm);
    const auto sinceEpoch = now.time_since_epoch();
    c.milliseconds = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          sinceEpoch - std::chrono::floor<std::chrono::seconds>(sinceEpoch))
                                          .count());
    return c;
}

} // namespace

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

std::int32_t julianDay(int year, int month, int day) {
    if (!isValidDate(year, month, day))
        return 0;
    // Day count with March as the first month of the year, so that the leap day falls at the end.
    const int a = (14 - month) / 12;
    const std::int64_t y = std::int64_t{year} + 4800 - a;
    const int m = month + 12 * a - 3;
    return static_cast<std::int32_t>(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045);
}

CivilDate civilFromJulian(std::int32_t jd) {
    // Julian day numbers of 0001-01-01 and 9999-12-31: what a D field can hold.
    constexpr std::int32_t kFirstDay = 1721426;
    constexpr std::int32_t kLastDay = 5373484;
    if (jd < kFirstDay || jd > kLastDay)
        return {};
    const std::int64_t a = std::int64_t{jd} + 32044;
    const std::int64_t b = (4 * a + 3) / 146097;
    const std::int64_t c = a - 146097 * b / 4;
    const std::int64_t d = (4 * c + 3) / 1461;
    const std::int64_t e = c - 1461 * d / 4;
    const std::int64_t m = (5 * e + 2) / 153;
    CivilDate r;
    r.day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    r.month = static_cast<int>(m + 3 - 12 * (m / 10));
    r.year = static_cast<int>(100 * b + d - 4800 + m / 10);
    return r;
}

std::int32_t today() {
    const LocalClock c = localNow();
    return julianDay(c.tm.tm_year + 1900, c.tm.tm_mon + 1, c.tm.tm_mday);
}

double secondsSinceMidnight(int hours, int minutes, int seconds, int milliseconds) {
    // Whole hundredths first, so that the result is the nearest double to a two-decimal value.
    const long hundredths = ((hours * 60L + minutes) * 60L + seconds) * 100L + milliseconds / 10;
    return static_cast<double>(hundredths) / 100.0;
}

double secondsSinceMidnight() {
    const LocalClock c = localNow();
    return secondsSinceMidnight(c.tm.tm_hour, c.tm.tm_min, c.tm.tm_sec, c.milliseconds);
}

std::string timeText(int hours, int minutes, int seconds) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hours, minutes, seconds);
    return buf;
}

std::string timeText() {
    const LocalClock c = localNow();
    return timeText(c.tm.tm_hour, c.tm.tm_min, c.tm.tm_sec);
}

} // namespace store
