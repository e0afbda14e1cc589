// A benchmark's own target: the figure is printed beside it, and a miss makes the program
// end with a non-zero status once every benchmark has run, so that `make bench` fails.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>

namespace qrv::bench {

inline bool& TargetMissed() {
  static bool missed = false;
  return missed;
}

// Prints "what: value unit (target < limit unit)", with "MISSED" when value is not below.
inline void CheckBelow(const char* what, double value, double limit, const char* unit) {
  const bool met = value < limit;
  std::printf("%s: %.3f %s (target < %.3f %s)%s\n", what, value, unit, limit, unit,
              met ? "" : "  MISSED");
  if (!met) TargetMissed() = true;
}

// Prints "what: value unit (target >= limit unit)", with "MISSED" when value is below.
inline void CheckAtLeast(const char* what, double value, double limit, const char* unit) {
  const bool met = value >= limit;
  std::printf("%s: %.3f %s (target >= %.3f %s)%s\n", what, value, unit, limit, unit,
              met ? "" : "  MISSED");
  if (!met) TargetMissed() = true;
}

}  // namespace qrv::bench

// BENCHMARK_MAIN, ending with status 1 when a target was missed.
#define QRV_BENCHMARK_MAIN()                                                 \
  int main(int argc, char** argv) {                                          \
    benchmark::Initialize(&argc, argv);                                      \
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;        \
    benchmark::RunSpecifiedBenchmarks();                                     \
    benchmark::Shutdown();                                                   \
    return qrv::bench::TargetMissed() ? 1 : 0;                               \
  }
