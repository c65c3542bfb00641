#pragma once

// What the benchmarks measure with: milliseconds between two points of the steady clock, the thread's processor
// time, and the median of runs.
#include <algorithm>
#include <chrono>
#include <vector>

#include <time.h>

namespace benchtiming {

using Clock = std::chrono::steady_clock;

inline double ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The processor time of this thread in ms: on a shared machine it shows the work without the waiting for others.
inline double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace benchtiming
