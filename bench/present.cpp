// The cost of an empty frame: clear and present, unpaced, at 640 x 480 and 1920 x 1080,
// against a plain loop of the same size that clears and swaps its own window, in the same
// run. Prints both times per frame and their ratio (target: at most 1.1x).
#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_target.h"
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/frame.h"
#include "quorvia/graphics2d.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFrames = 200;
constexpr int kRounds = 5;

// The runtime's window at w x h, presenting unpaced.
bool OpenRuntimeWindow(int w, int h) {
  qrv::Runtime& rt = qrv::TheRuntime();
  if (rt.device == nullptr) {
    setenv("QRV_UNPACED", "1", 1);
    qrv::CheckAutomationHooks();
    qrv::InitialiseTimer();
    rt.device = new qrv::OpenGLZozezezi();
    if (!rt.device->CreateWindowAndContext(w, h, 0, 0, 0)) return false;
    rt.window = rt.device->window;
    qrv::AutoPause(0);  // a benchmark keeps running whoever has the focus
  }
  rt.device->SetScreenMode(w, h, 0, 0);
  return true;
}

// Milliseconds per frame of kFrames frames.
template <class Frame>
double TimeFrames(Frame frame) {
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kFrames; ++i) frame();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kFrames;
}

void BM_EmptyFrame(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  if (!OpenRuntimeWindow(w, h)) {
    state.SkipWithError("no window");
    return;
  }
  qrv::Runtime& rt = qrv::TheRuntime();
  // The plain loop's own window and context, no swap interval, like the runtime's.
  SDL_Window* window = SDL_CreateWindow("plain", 0, 0, w, h, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr) {
    if (window != nullptr) SDL_DestroyWindow(window);
    state.SkipWithError("no plain GL window");
    return;
  }
  SDL_GL_SetSwapInterval(0);
  std::vector<double> runtime, plain;
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      SDL_GL_MakeCurrent(window, context);
      plain.push_back(TimeFrames([&] {
        glClearColor(0.1f, 0.2f, 0.3f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
      }));
      qrv::platform::MakeCurrent(rt.device->window, rt.device->context);
      runtime.push_back(TimeFrames([] {
        qrv::ClearScreen(0x4D331A);
        qrv::Present();
      }));
    }
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  qrv::platform::MakeCurrent(rt.device->window, rt.device->context);
  std::sort(runtime.begin(), runtime.end());
  std::sort(plain.begin(), plain.end());
  const double ours = runtime[runtime.size() / 2], theirs = plain[plain.size() / 2];
  std::printf("empty frame at %dx%d: runtime %.3f ms, plain clear-and-swap %.3f ms\n", w, h, ours,
              theirs);
  const std::string what = "empty frame at " + std::to_string(w) + "x" + std::to_string(h) +
                           ", runtime / plain loop";
  qrv::bench::CheckBelow(what.c_str(), ours / theirs, 1.1, "x");
}
BENCHMARK(BM_EmptyFrame)->Args({640, 480})->Args({1920, 1080})->Iterations(1)->Unit(
    benchmark::kMillisecond);

}  // namespace

QRV_BENCHMARK_MAIN()
