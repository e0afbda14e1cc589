// Drawing 10,000 sprites per frame from 64 different 16 x 16 images (sprite i from image
// i % 64, so that no two sprites drawn one after the other share an image): on screen; with
// every sprite off screen, which the runtime leaves out before GL while the references hand
// them to GL; and on screen behind a scissor box of one pixel, where the rasteriser has
// next to nothing to do and handing the sprites to GL is what costs, for all three alike.
// Against two references in the same run, each building its vertices every frame as the
// runtime does:
//  - the plain GL loop that batches per texture: one vertex array and one draw per image;
//  - SFML drawing the same picture the fastest way it offers: one sf::VertexArray of quads
//    per texture, drawn into its own window.
// Prints sprites per second for all three and the runtime's ratios. Targets: off screen and
// behind the scissor, 3x each reference or better; on screen, 1.0x each or better.
#include <GL/gl.h>

#include <SFML/Graphics.hpp>
#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kImages = 64;
constexpr int kSprites = 10000;
constexpr int kSize = 16;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

struct Position {
  int x, y;
};

enum class Where { kOnScreen, kOffScreen, kScissored };

// Only the pixel at the bottom left is drawn (the scissor is GL's own state, which the
// runtime leaves as it finds it), or every pixel.
void Scissor(Where where) {
  if (where == Where::kScissored) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
  } else {
    glDisable(GL_SCISSOR_TEST);
  }
}

// Fixed positions spread over the 640 x 480 window, or all far outside it.
std::vector<Position> Positions(bool offScreen) {
  std::vector<Position> out(kSprites);
  for (int i = 0; i < kSprites; ++i) {
    out[size_t(i)] = {(i * 7919) % (640 - kSize), (i * 104729) % (480 - kSize)};
    if (offScreen) out[size_t(i)].x -= 2000;
  }
  return out;
}

// Image n: opaque, a colour of its own with a pattern.
qrv::RgbaImage Image(int n) {
  qrv::RgbaImage image;
  image.Resize(kSize, kSize);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = uint8_t(n * 4 + i % 7);
    image.pixels[i + 1] = uint8_t(255 - n * 3);
    image.pixels[i + 2] = uint8_t((i / 4) * 5 + n);
    image.pixels[i + 3] = 255;
  }
  return image;
}

// The plain GL loop: textures of its own, and per frame one array and one draw per image.
class PerTextureLoop {
 public:
  PerTextureLoop() {
    glGenTextures(kImages, textures_.data());
    for (int n = 0; n < kImages; ++n) {
      const qrv::RgbaImage image = Image(n);
      glBindTexture(GL_TEXTURE_2D, textures_[size_t(n)]);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                   image.pixels.data());
    }
  }
  ~PerTextureLoop() { glDeleteTextures(kImages, textures_.data()); }

  void Draw(const std::vector<Position>& at) {
    for (std::vector<float>& v : vertices_) v.clear();
    for (size_t i = 0; i < at.size(); ++i) {
      const float x0 = float(at[i].x), y0 = float(at[i].y);
      const float x1 = x0 + kSize, y1 = y0 + kSize;
      vertices_[i % kImages].insert(vertices_[i % kImages].end(),
                                    {x0, y0, 0, 0, x1, y0, 1, 0, x1, y1, 1, 1, x0, y1, 0, 1});
    }
    // Opaque images: no alpha test and no blending, as a program drawing them by hand would.
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int n = 0; n < kImages; ++n) {
      const std::vector<float>& v = vertices_[size_t(n)];
      glBindTexture(GL_TEXTURE_2D, textures_[size_t(n)]);
      glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), v.data());
      glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), v.data() + 2);
      glDrawArrays(GL_QUADS, 0, GLsizei(v.size() / 4));
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }

 private:
  std::array<GLuint, kImages> textures_{};
  std::array<std::vector<float>, kImages> vertices_;
};

// SFML in its own window: one vertex array of quads per texture, filled every frame.
class SfmlLoop {
 public:
  SfmlLoop() : window_(sf::VideoMode(640, 480), "sfml") {
    window_.setVerticalSyncEnabled(false);
    for (int n = 0; n < kImages; ++n) {
      const qrv::RgbaImage image = Image(n);
      textures_[size_t(n)].create(kSize, kSize);
      textures_[size_t(n)].update(image.pixels.data());
      arrays_[size_t(n)].setPrimitiveType(sf::Quads);
    }
  }

  void Draw(const std::vector<Position>& at, Where where) {
    window_.setActive(true);
    Scissor(where);
    for (sf::VertexArray& a : arrays_) a.clear();
    for (size_t i = 0; i < at.size(); ++i) {
      const float x0 = float(at[i].x), y0 = float(at[i].y);
      const float x1 = x0 + kSize, y1 = y0 + kSize;
      sf::VertexArray& a = arrays_[i % kImages];
      a.append(sf::Vertex({x0, y0}, {0, 0}));
      a.append(sf::Vertex({x1, y0}, {kSize, 0}));
      a.append(sf::Vertex({x1, y1}, {kSize, kSize}));
      a.append(sf::Vertex({x0, y1}, {0, kSize}));
    }
    for (int n = 0; n < kImages; ++n) window_.draw(arrays_[size_t(n)], &textures_[size_t(n)]);
    glFinish();
  }

 private:
  sf::RenderWindow window_;
  std::array<sf::Texture, kImages> textures_;
  std::array<sf::VertexArray, kImages> arrays_;
};

void MakeRuntimeCurrent(qrv::OpenGLZozezezi& device) {
  qrv::platform::MakeCurrent(device.window, device.context);
}

void BM_MixedSprites(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  const auto where = Where(state.range(0));
  for (int n = 0; n < kImages; ++n) device->CreateSprite(1 + n, Image(n), false);
  const std::vector<Position> at = Positions(where == Where::kOffScreen);
  static SfmlLoop* sfml = new SfmlLoop();  // once: a window of its own
  MakeRuntimeCurrent(*device);
  PerTextureLoop perTexture;
  double runtimeSeconds = 0, perTextureSeconds = 0, sfmlSeconds = 0;
  for (auto _ : state) {
    device->SetDefault2DState(0, 0, 0, 0);
    Scissor(where);
    Clock::time_point start = Clock::now();
    for (size_t i = 0; i < at.size(); ++i) device->DrawSprite(1 + int(i % kImages), at[i].x, at[i].y);
    device->FlushBatch();
    glFinish();
    runtimeSeconds += Seconds(start);

    device->SetDefault2DState(0, 0, 0, 0);
    start = Clock::now();
    perTexture.Draw(at);
    glFinish();
    perTextureSeconds += Seconds(start);

    start = Clock::now();
    sfml->Draw(at, where);
    sfmlSeconds += Seconds(start);
    MakeRuntimeCurrent(*device);
  }
  Scissor(Where::kOnScreen);
  const double sprites = double(kSprites) * double(state.iterations());
  state.counters["runtime_sprites_per_s"] = sprites / runtimeSeconds;
  state.counters["per_texture_sprites_per_s"] = sprites / perTextureSeconds;
  state.counters["sfml_sprites_per_s"] = sprites / sfmlSeconds;
  const std::string name = where == Where::kOnScreen    ? "on screen"
                           : where == Where::kOffScreen ? "off screen"
                                                        : "behind a one-pixel scissor";
  const double goal = where == Where::kOnScreen ? 1.0 : 3.0;
  qrv::bench::CheckAtLeast(("64 images mixed, " + name + ", runtime / per-texture GL loop").c_str(),
                           perTextureSeconds / runtimeSeconds, goal, "x");
  qrv::bench::CheckAtLeast(("64 images mixed, " + name + ", runtime / SFML").c_str(),
                           sfmlSeconds / runtimeSeconds, goal, "x");
}
BENCHMARK(BM_MixedSprites)
    ->ArgNames({"where"})
    ->Arg(int(Where::kOnScreen))
    ->Arg(int(Where::kOffScreen))
    ->Arg(int(Where::kScissored))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace

QRV_BENCHMARK_MAIN()
