// The benchmarks' clock: milliseconds from the performance counter, and the
// minimum and median of repeated runs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

struct Timing {
    double min = 0, median = 0;
};

// Runs the operation the given number of times (at least once).
inline Timing Measure(int runs, const std::function<void()>& operation)
{
    std::vector<double> times;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        double start = Now();
        operation();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}
