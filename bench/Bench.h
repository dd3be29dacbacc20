#pragma once
// The benchmark programs' clock, shared by their rows (Clock.cpp defines it).

#include <functional>

namespace bench {

// Seconds on the performance counter.
double Seconds();
// The best time of `runs` runs of `work`, in seconds.
double Best(int runs, const std::function<void()>& work);

}  // namespace bench
