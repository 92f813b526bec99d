// The best of several timed runs. On a shared machine the wall time waits for other processes;
// the processor time of this one says what the work itself costs.
#pragma once

#include <algorithm>
#include <chrono>
#include <ctime>

namespace bench {

struct BestTime {
    double seconds = 1e9; // the least wall time of a run
    double cpu = 1e9;     // the least processor time of a run
};

template <typename Work> BestTime best_of(int runs, Work &&work) {
    BestTime best;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpu_start = std::clock();
        work();
        best.cpu =
            std::min(best.cpu, static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC);
        best.seconds = std::min(
            best.seconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

} // namespace bench
