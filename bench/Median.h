#pragma once
// Median wall time of a piece of work, in milliseconds, for the benchmark programs.

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace sorvel::bench {

inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace sorvel::bench
