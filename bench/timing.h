#pragma once

// What the benchmarks measure with: milliseconds between two points of the steady clock, and the median of runs.
#include <algorithm>
#include <chrono>
#include <vector>

namespace benchtiming {

using Clock = std::chrono::steady_clock;

inline double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace benchtiming
