// Drawing 10,000 16 x 16 sprites per frame through the runtime, against a plain GL loop
// that draws the same quads the same way (immediate mode, texture bound per quad) in the
// same run. Prints sprites per second for both and their ratio (target: 0.8 or better).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <vector>

#include "device_setup.h"

namespace {

constexpr int kSprites = 10000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void PlainQuads(const qrv::SpriteRecord& s, const std::vector<int>& xs, const std::vector<int>& ys) {
  for (int i = 0; i < kSprites; ++i) {
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glBegin(GL_QUADS);
    glTexCoord2f(s.uMax, s.vMax);
    glVertex2f(float(xs[i] + s.width), float(ys[i]));
    glTexCoord2f(0, s.vMax);
    glVertex2f(float(xs[i]), float(ys[i]));
    glTexCoord2f(0, 0);
    glVertex2f(float(xs[i]), float(ys[i] + s.height));
    glTexCoord2f(s.uMax, 0);
    glVertex2f(float(xs[i] + s.width), float(ys[i] + s.height));
    glEnd();
  }
}

void BM_DrawSprites(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  qrv::RgbaImage image;
  image.Resize(16, 16);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(i * 37 | 3);
  device->CreateSprite(1, image, false);
  std::vector<int> xs(kSprites), ys(kSprites);
  for (int i = 0; i < kSprites; ++i) xs[i] = (i * 7919) % 624, ys[i] = (i * 104729) % 464;
  device->SetDefault2DState(0, 0, 0, 0);
  double runtimeSeconds = 0, plainSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kSprites; ++i) device->DrawSprite(1, xs[i], ys[i]);
    glFinish();
    runtimeSeconds += Seconds(start);
    start = Clock::now();
    PlainQuads(device->sprites[1], xs, ys);
    glFinish();
    plainSeconds += Seconds(start);
  }
  const double frames = double(state.iterations());
  state.counters["runtime_sprites_per_s"] = kSprites * frames / runtimeSeconds;
  state.counters["plain_gl_sprites_per_s"] = kSprites * frames / plainSeconds;
  state.counters["ratio"] = plainSeconds / runtimeSeconds;
}
BENCHMARK(BM_DrawSprites)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
