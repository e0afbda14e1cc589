// Printing 10,000 characters per frame through PrintText (125 lines of 80), against a
// plain GL loop that draws the same textured quads in immediate mode in the same run.
// Prints characters per second for both and their ratio (target: 0.8 or better).
#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"

namespace {

constexpr int kLines = 125;
constexpr int kColumns = 80;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// The same quads as the built-in font's cells (8 x 8, 16 x 8 grid), one glBegin per line.
void PlainText(const qrv::SpriteRecord& font, const std::vector<std::string>& lines) {
  const float ss = font.uMax / 16, ts = font.vMax / 8;
  for (size_t line = 0; line < lines.size(); ++line) {
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glBegin(GL_QUADS);
    float x = 0;
    const float y = float(line % 60) * 8;
    for (char c : lines[line]) {
      const int k = uint8_t(c) % 128;
      const float s0 = ss * float(k % 16), t0 = ts * float(7 - k / 16);
      glTexCoord2f(s0, t0);
      glVertex2f(x, y + 8);
      glTexCoord2f(s0 + ss, t0);
      glVertex2f(x + 8, y + 8);
      glTexCoord2f(s0 + ss, t0 + ts);
      glVertex2f(x + 8, y);
      glTexCoord2f(s0, t0 + ts);
      glVertex2f(x, y);
      x += 8;
    }
    glEnd();
  }
}

void BM_PrintText(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  device->BuildDefaultFont(0);
  device->SetDefault2DState(0, 0, 0, 0);
  std::vector<std::string> lines(kLines);
  for (int i = 0; i < kLines; ++i) {
    for (int j = 0; j < kColumns; ++j) lines[size_t(i)] += char(32 + (i * 31 + j * 7) % 95);
  }
  double runtimeSeconds = 0, plainSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kLines; ++i) {
      device->PrintText(0, lines[size_t(i)], 0, float(i % 60) * 8, 0);
    }
    glFinish();
    runtimeSeconds += Seconds(start);
    start = Clock::now();
    PlainText(device->sprites[qrv::kFontSlotBase], lines);
    glFinish();
    plainSeconds += Seconds(start);
  }
  const double characters = double(kLines) * kColumns * double(state.iterations());
  state.counters["runtime_chars_per_s"] = characters / runtimeSeconds;
  state.counters["plain_gl_chars_per_s"] = characters / plainSeconds;
  state.counters["ratio"] = plainSeconds / runtimeSeconds;
  qrv::bench::CheckAtLeast("10,000 characters a frame, PrintText / plain GL loop (characters/s)",
                           plainSeconds / runtimeSeconds, 0.8, "x");
}
BENCHMARK(BM_PrintText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

QRV_BENCHMARK_MAIN()
