// Drawing many 16 x 16 opaque sprites per frame through DrawSprite, at 1,000, 10,000 and
// 50,000 per frame, against two loops written by hand: the plain vertex-array loop (the
// same quads written into one array and drawn with one call per frame; the reference) and
// the sprite-at-a-time loop (bind, enable, wrap, linear filters and one immediate-mode
// quad per sprite, as every sprite was drawn before batching). Each is measured on screen
// and with every sprite off-screen, where nothing is rasterised and only handing the
// sprites to GL costs. Prints sprites per second for all three and the runtime's ratios.
// Targets: off-screen, ratio to the plain loop 0.9 or better; on screen at 10,000, ratio
// to the sprite-at-a-time loop 1.25 or better.
#include <GL/gl.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

struct Position {
  int x, y;
};

// Fixed positions spread over the 640 x 480 window, or all far outside it.
std::vector<Position> Positions(int count, bool offScreen) {
  std::vector<Position> out(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    out[size_t(i)] = {(i * 7919) % 624, (i * 104729) % 464};
    if (offScreen) out[size_t(i)].x -= 2000;
  }
  return out;
}

// The reference: the loop a program would write by hand, one quad per sprite into an
// array that is drawn with a single call.
void PlainVertexArray(const qrv::SpriteRecord& s, const std::vector<Position>& at,
                      std::vector<float>& vertices) {
  vertices.resize(at.size() * 16);
  float* v = vertices.data();
  for (const Position& p : at) {
    const float x0 = float(p.x), y0 = float(p.y);
    const float x1 = float(p.x + s.width), y1 = float(p.y + s.height);
    const float quad[16] = {x1, y0, s.uMax, s.vMax, x0, y0, 0,      s.vMax,
                            x0, y1, 0,      0,      x1, y1, s.uMax, 0};
    for (float f : quad) *v++ = f;
  }
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glEnable(GL_TEXTURE_2D);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), vertices.data());
  glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), vertices.data() + 2);
  glDrawArrays(GL_QUADS, 0, GLsizei(at.size() * 4));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

// The reference for the drawing before batching: sixteen GL calls per sprite.
void SpriteAtATime(const qrv::SpriteRecord& s, const std::vector<Position>& at) {
  for (const Position& p : at) {
    const float x0 = float(p.x), y0 = float(p.y);
    const float x1 = float(p.x + s.width), y1 = float(p.y + s.height);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glBegin(GL_QUADS);
    glTexCoord2f(s.uMax, s.vMax);
    glVertex2f(x1, y0);
    glTexCoord2f(0, s.vMax);
    glVertex2f(x0, y0);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y1);
    glTexCoord2f(s.uMax, 0);
    glVertex2f(x1, y1);
    glEnd();
  }
}

void BM_DrawSprites(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  const int count = int(state.range(0));
  const bool offScreen = state.range(1) != 0;
  qrv::RgbaImage image;
  image.Resize(16, 16);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(i * 37 | 3);
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  device->CreateSprite(1, image, false);
  // The loops by hand set the texture's parameters by their own GL calls, as a program does
  // with the texture SpriteTexture hands it.
  device->SpriteTexture(1);
  const std::vector<Position> at = Positions(count, offScreen);
  std::vector<float> vertices;
  double runtimeSeconds = 0, plainSeconds = 0, oneByOneSeconds = 0;
  for (auto _ : state) {
    device->SetDefault2DState(0, 0, 0, 0);
    Clock::time_point start = Clock::now();
    for (const Position& p : at) device->DrawSprite(1, p.x, p.y);
    device->FlushBatch();
    glFinish();
    runtimeSeconds += Seconds(start);
    device->SetDefault2DState(0, 0, 0, 0);
    start = Clock::now();
    PlainVertexArray(device->sprites[1], at, vertices);
    glFinish();
    plainSeconds += Seconds(start);
    device->SetDefault2DState(0, 0, 0, 0);
    start = Clock::now();
    SpriteAtATime(device->sprites[1], at);
    glFinish();
    oneByOneSeconds += Seconds(start);
  }
  const double sprites = double(count) * double(state.iterations());
  state.counters["runtime_sprites_per_s"] = sprites / runtimeSeconds;
  state.counters["plain_va_sprites_per_s"] = sprites / plainSeconds;
  state.counters["one_by_one_sprites_per_s"] = sprites / oneByOneSeconds;
  state.counters["ratio_to_plain"] = plainSeconds / runtimeSeconds;
  state.counters["ratio_to_one_by_one"] = oneByOneSeconds / runtimeSeconds;
  const std::string what = std::to_string(count) + " sprites a frame, ";
  if (offScreen) {
    qrv::bench::CheckAtLeast(what + "off screen, runtime / plain vertex-array loop",
                             plainSeconds / runtimeSeconds, 0.9, "x");
  } else if (count == 10000) {
    qrv::bench::CheckAtLeast(what + "on screen, runtime / sprite-at-a-time loop",
                             oneByOneSeconds / runtimeSeconds, 1.25, "x");
  }
}
BENCHMARK(BM_DrawSprites)
    ->ArgNames({"sprites", "offscreen"})
    ->ArgsProduct({{1000, 10000, 50000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace

QRV_BENCHMARK_MAIN()
