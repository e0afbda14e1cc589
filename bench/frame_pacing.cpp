// Frame pacing at 60 fps: 600 presents of an empty frame, timed between presents.
// Prints the median and 99th percentile of |interval - 16.667 ms| and the CPU share.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/frame.h"

namespace {

bool OpenWindow() {
  qrv::Runtime& rt = qrv::TheRuntime();
  if (rt.device != nullptr) return true;
  qrv::InitialiseTimer();
  rt.device = new qrv::OpenGLZozezezi();
  if (!rt.device->CreateWindowAndContext(640, 480, 0, 60, 0)) return false;
  rt.window = rt.device->window;
  rt.device->ShowWindowed();
  qrv::AutoPause(0);  // a benchmark keeps running whoever has the focus
  return true;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  size_t index = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

void BM_FramePacing60(benchmark::State& state) {
  if (!OpenWindow()) {
    state.SkipWithError("no window");
    return;
  }
  using Clock = std::chrono::steady_clock;
  const int frames = 600;
  const double interval = 1000.0 / 60;
  for (auto _ : state) {
    qrv::SetFrameRate(60);
    qrv::Present();  // settle the schedule
    std::vector<double> errors;
    std::clock_t cpuStart = std::clock();
    Clock::time_point start = Clock::now(), last = start;
    for (int i = 0; i < frames; ++i) {
      qrv::Present();
      Clock::time_point now = Clock::now();
      errors.push_back(
          std::fabs(std::chrono::duration<double, std::milli>(now - last).count() - interval));
      last = now;
    }
    double wall = std::chrono::duration<double>(last - start).count();
    double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.counters["median_ms"] = Percentile(errors, 0.5);
    state.counters["p99_ms"] = Percentile(errors, 0.99);
    state.counters["cpu_share"] = cpu / wall;
    std::printf(
        "frame pacing, %d frames at 60 fps: |interval - 16.667 ms| median %.3f ms, "
        "p99 %.3f ms; CPU %.1f%% of one core (targets: < 0.3 ms, < 1.5 ms, < 25%%)\n",
        frames, Percentile(errors, 0.5), Percentile(errors, 0.99), 100 * cpu / wall);
  }
}
BENCHMARK(BM_FramePacing60)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
