// Shared by the files benchmarks: a console reporter that keeps each benchmark's real
// time so the program can print the ratios the targets are stated in.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) seconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const char* label, const std::string& slow, const std::string& fast) const {
    auto a = seconds_.find(slow), b = seconds_.find(fast);
    if (a == seconds_.end() || b == seconds_.end() || b->second <= 0) return;
    std::printf("%s: %.2fx\n", label, a->second / b->second);
  }

 private:
  std::map<std::string, double> seconds_;
};

// Runs the registered benchmarks through the reporter; true when anything ran.
inline bool RunBenchmarks(int argc, char** argv, RatioReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  return benchmark::RunSpecifiedBenchmarks(&reporter) > 0;
}
