// The benchmark programs' clock.

#include "bench/Bench.h"

#include <windows.h>

#include <algorithm>

namespace bench {

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

double Best(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        work();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

}  // namespace bench
