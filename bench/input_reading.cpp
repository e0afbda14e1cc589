// Reading the keyboard in a burst: 1,000 KeyDown calls in one frame, as a game that tests
// every key it knows does. Target: the burst under 0.2 ms.
#include <algorithm>
#include <chrono>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"
#include "quorvia/input.h"

namespace {

void BM_ThousandKeyDownCalls(benchmark::State& state) {
  if (qrv::bench::BenchDevice() == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  qrv::CreateInput();
  qrv::InitInput(false);
  std::vector<double> bursts;
  int32_t held = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (int32_t i = 0; i < 1000; ++i) held += qrv::KeyDown(i & 0xFF);
    bursts.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    qrv::SampleFrameInput();
  }
  benchmark::DoNotOptimize(held);
  std::sort(bursts.begin(), bursts.end());
  qrv::bench::CheckBelow("1,000 KeyDown calls in one frame, median", bursts[bursts.size() / 2],
                         0.2, "ms");
}
BENCHMARK(BM_ThousandKeyDownCalls)->Iterations(200)->Unit(benchmark::kMicrosecond);

}  // namespace

QRV_BENCHMARK_MAIN()
