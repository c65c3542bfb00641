#pragma once

#include <array>
#include <optional>

#include <QString>

// The stopping-distance calculator: reaction, braking and stopping distance and the stopping time of a car.
namespace calc::anhaweg {

// A road condition of the list and its braking deceleration in m/s².
struct RoadCondition {
    const char* text; // UTF-8
    double deceleration;
};

// AVERZG with AVERZ2, in list order; the first is the one a fresh dialog shows.
const std::array<RoadCondition, 11>& AVERZG();

// The deceleration of a road condition by its position in the list; nothing for a position outside it.
std::optional<double> decelerationOf(int position);

struct Input {
    double NSPEED = 50;     // km/h, 0..999
    double NREAKTIME = 1.0; // s, 0..9.99
    double NVERZOEG = 8;    // m/s², 0..9.99
};

struct Result {
    double NREAKTWEG = 0; // m, rounded to cents
    double NBREMSWEG = 0; // m
    double NANHALWEG = 0; // m
    double NANHALSEK = 0; // s

    // The result fields' texts: "@E 9999.99", decimal comma.
    static QString fieldText(double value);
};

// The calculation; nothing when an input is zero (or below), so that the results shown stay as they were.
std::optional<Result> MAKEDATA(const Input& input);

} // namespace calc::anhaweg
