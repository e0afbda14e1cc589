// Runtime values against their plain C++ counterparts: building a 1 MiB string, checked
// 2-D array access, and number texts. Prints each pair's ratio of processor time after the
// runs (targets: strings within 2.0x, ElementAt within 1.5x; number texts for comparison).
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_target.h"
#include "quorvia/values.h"

namespace {

constexpr size_t kMiB = 1 << 20;
const char kPiece[101] =
    "0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
    "abcdefghijklmnopq";

void AppendCharsRtString(benchmark::State& state) {
  for (auto _ : state) {
    qrv::RtString s;
    for (size_t i = 0; i < kMiB; ++i) s.AppendBytes(&kPiece[i % 100], 1);
    benchmark::DoNotOptimize(s.c_str());
  }
}
void AppendCharsStdString(benchmark::State& state) {
  for (auto _ : state) {
    std::string s;
    for (size_t i = 0; i < kMiB; ++i) s.append(&kPiece[i % 100], 1);
    benchmark::DoNotOptimize(s.data());
  }
}
void AppendPiecesRtString(benchmark::State& state) {
  for (auto _ : state) {
    qrv::RtString s;
    for (size_t i = 0; i < kMiB / 100; ++i) s.Append(kPiece);
    benchmark::DoNotOptimize(s.c_str());
  }
}
void AppendPiecesStdString(benchmark::State& state) {
  for (auto _ : state) {
    std::string s;
    for (size_t i = 0; i < kMiB / 100; ++i) s.append(kPiece);
    benchmark::DoNotOptimize(s.data());
  }
}

constexpr int32_t kWidth = 320, kHeight = 240;

void ElementAtRtArray(benchmark::State& state) {
  qrv::RtArray<int32_t> grid;
  int32_t width = kWidth;
  benchmark::DoNotOptimize(width);
  grid.Dim(width, kHeight);
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) sum += ++grid.ElementAt(x, y);
    }
    benchmark::DoNotOptimize(sum);
  }
}
// The plain counterpart: a vector indexed through at(), its one bounds check. The width
// goes through DoNotOptimize so that neither loop knows the sizes at compile time.
void ElementAtCheckedVector(benchmark::State& state) {
  std::vector<int32_t> cells(kWidth * kHeight);
  size_t width = kWidth;
  benchmark::DoNotOptimize(width);
  for (auto _ : state) {
    int32_t sum = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) sum += ++cells.at(x + width * y);
    }
    benchmark::DoNotOptimize(sum);
  }
}

std::vector<double> SampleDoubles() {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-12, 15);
  std::vector<double> values(1000000);
  for (double& v : values) v = mantissa(random) * std::pow(10.0, exponent(random));
  return values;
}
const std::vector<double>& Doubles() {
  static const std::vector<double> values = SampleDoubles();
  return values;
}

void NumberTextMillion(benchmark::State& state) {
  for (auto _ : state) {
    for (double v : Doubles()) benchmark::DoNotOptimize(qrv::NumberText(v).c_str());
  }
  state.SetItemsProcessed(state.iterations() * Doubles().size());
}
void SnprintfMillion(benchmark::State& state) {
  char text[64];
  for (auto _ : state) {
    for (double v : Doubles()) {
      std::snprintf(text, sizeof text, "%.10g", v);
      benchmark::DoNotOptimize(text);
    }
  }
  state.SetItemsProcessed(state.iterations() * Doubles().size());
}

BENCHMARK(AppendCharsRtString)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendCharsStdString)->Unit(benchmark::kMillisecond);
BENCHMARK(AppendPiecesRtString)->Unit(benchmark::kMicrosecond);
BENCHMARK(AppendPiecesStdString)->Unit(benchmark::kMicrosecond);
BENCHMARK(ElementAtRtArray)->Unit(benchmark::kMicrosecond);
BENCHMARK(ElementAtCheckedVector)->Unit(benchmark::kMicrosecond);
BENCHMARK(NumberTextMillion)->Unit(benchmark::kMillisecond);
BENCHMARK(SnprintfMillion)->Unit(benchmark::kMillisecond);

void Summary(const qrv::bench::Runs& runs) {
  // Processor time: the machine may be shared, and waiting is not work.
  auto within = [&](const char* what, const char* ours, const char* theirs, double target) {
    if (auto ratio = runs.CpuTimeRatio(ours, theirs)) {
      qrv::bench::CheckAtMost(what, *ratio, target, "x");
    }
  };
  within("1 MiB string, one character at a time, RtString / std::string", "AppendCharsRtString",
         "AppendCharsStdString", 2.0);
  within("1 MiB string, 100-byte pieces, RtString / std::string", "AppendPiecesRtString",
         "AppendPiecesStdString", 2.0);
  within("ElementAt on a 2-D int32 array / std::vector::at", "ElementAtRtArray",
         "ElementAtCheckedVector", 1.5);
  if (auto ratio = runs.CpuTimeRatio("NumberTextMillion", "SnprintfMillion")) {
    std::printf("NumberText / snprintf(\"%%.10g\"), 1M doubles: %.3f x (for comparison)\n",
                *ratio);
  }
}

}  // namespace

QRV_BENCHMARK_MAIN(Summary)
