#pragma once
// The benchmark program's clock, shared by its rows (Bench.cpp defines them).

#include <functional>

namespace bench {

// Seconds on the performance counter.
double Seconds();
// The best time of `runs` runs of `work`, in seconds.
double Best(int runs, const std::function<void()>& work);

}  // namespace bench
