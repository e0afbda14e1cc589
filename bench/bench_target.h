// A benchmark's own targets: each figure is printed beside its target, and a miss makes the
// program end with a non-zero status once every benchmark has run, so that `make bench` fails.
//
// Google Benchmark may call a benchmark function several times while it settles the iteration
// count, so while the benchmarks run, a figure handed to CheckBelow, CheckAtMost or
// CheckAtLeast is held until the benchmark's final run is reported (a later call with the same
// description replaces it) and only then printed and checked. Figures handed over after the
// runs, by a program's summary, are printed and checked at once.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qrv::bench {

enum class Relation { kBelow, kAtMost, kAtLeast };

struct Figure {
  std::string what;
  double value, limit;
  Relation relation;
  std::string unit;

  bool Met() const {
    switch (relation) {
      case Relation::kBelow: return value < limit;
      case Relation::kAtMost: return value <= limit;
      case Relation::kAtLeast: return value >= limit;
    }
    return false;
  }
  const char* Symbol() const {
    return relation == Relation::kBelow ? "<" : relation == Relation::kAtMost ? "<=" : ">=";
  }
};

struct Targets {
  std::vector<Figure> pending;
  bool holding = false;  // while the benchmarks run
  bool missed = false;
};

inline Targets& TheTargets() {
  static Targets targets;
  return targets;
}

// Prints "what: value unit (target R limit unit)" for every held figure, with "MISSED" when
// the figure misses its target.
inline void PrintHeldFigures() {
  Targets& targets = TheTargets();
  for (const Figure& f : targets.pending) {
    const bool met = f.Met();
    std::printf("%s: %.3f %s (target %s %.3f %s)%s\n", f.what.c_str(), f.value, f.unit.c_str(),
                f.Symbol(), f.limit, f.unit.c_str(), met ? "" : "  MISSED");
    if (!met) targets.missed = true;
  }
  targets.pending.clear();
  std::fflush(stdout);
}

inline void Hold(Figure figure) {
  for (Figure& held : TheTargets().pending) {
    if (held.what == figure.what) {
      held = std::move(figure);
      return;
    }
  }
  TheTargets().pending.push_back(std::move(figure));
  if (!TheTargets().holding) PrintHeldFigures();
}

// The target: value below limit.
inline void CheckBelow(const std::string& what, double value, double limit, const char* unit) {
  Hold({what, value, limit, Relation::kBelow, unit});
}

// The target: value at most limit.
inline void CheckAtMost(const std::string& what, double value, double limit, const char* unit) {
  Hold({what, value, limit, Relation::kAtMost, unit});
}

// The target: value at least limit.
inline void CheckAtLeast(const std::string& what, double value, double limit, const char* unit) {
  Hold({what, value, limit, Relation::kAtLeast, unit});
}

// The console output, with each benchmark's held figures printed after its line; keeps every
// benchmark's time per iteration for the figures a summary works out across benchmarks.
class Runs : public benchmark::ConsoleReporter {
 public:
  Runs() : ConsoleReporter(OO_Tabular) {}  // no colour codes: the output often goes to a log

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations <= 0) continue;
      const double n = static_cast<double>(run.iterations);
      seconds_[run.benchmark_name()] = {run.real_accumulated_time / n,
                                        run.cpu_accumulated_time / n};
    }
    ConsoleReporter::ReportRuns(runs);
    GetOutputStream().flush();
    PrintHeldFigures();
  }

  // slow's time per iteration over fast's, in real or processor time; nothing when either
  // did not run (left out by a filter, or failed).
  std::optional<double> RealTimeRatio(const std::string& slow, const std::string& fast) const {
    return Ratio(slow, fast, &Times::real);
  }
  std::optional<double> CpuTimeRatio(const std::string& slow, const std::string& fast) const {
    return Ratio(slow, fast, &Times::cpu);
  }

 private:
  struct Times {
    double real, cpu;
  };

  std::optional<double> Ratio(const std::string& slow, const std::string& fast,
                              double Times::*which) const {
    auto a = seconds_.find(slow), b = seconds_.find(fast);
    if (a == seconds_.end() || b == seconds_.end() || !(b->second.*which > 0)) return {};
    return a->second.*which / b->second.*which;
  }

  std::map<std::string, Times> seconds_;
};

// Runs the benchmarks, then the program's summary if it has one, and prints the figures;
// 1 when a target was missed or the arguments were not understood, else 0.
inline int RunAndCheck(int argc, char** argv, void (*summary)(const Runs&) = nullptr) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Runs runs;
  TheTargets().holding = true;
  benchmark::RunSpecifiedBenchmarks(&runs);
  benchmark::Shutdown();
  TheTargets().holding = false;
  PrintHeldFigures();  // any held by a benchmark that was not reported
  if (summary != nullptr) summary(runs);
  return TheTargets().missed ? 1 : 0;
}

}  // namespace qrv::bench

// BENCHMARK_MAIN, ending with status 1 when a target was missed. QRV_BENCHMARK_MAIN(Summary)
// calls void Summary(const qrv::bench::Runs&) after the benchmarks have run.
#define QRV_BENCHMARK_MAIN(...)                                                    \
  int main(int argc, char** argv) {                                                \
    return qrv::bench::RunAndCheck(argc, argv __VA_OPT__(, ) __VA_ARGS__);         \
  }
