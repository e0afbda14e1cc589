// Loading a 1024 x 1024 PNG into a sprite (file, decode, texture with its mip copy)
// against libpng decoding the same file alone, in the same run. Prints both times and
// their ratio (target: under 1.5).
#include <png.h>

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// A photograph-like picture: smooth colour fields with fine detail, so that it
// compresses like real art rather than like a flat fill.
std::string MakePicture() {
  const std::string path =
      (std::filesystem::temp_directory_path() /
       ("qrv_bench_" + std::to_string(std::random_device()()) + ".png"))
          .string();
  qrv::RgbaImage image;
  image.Resize(1024, 1024);
  for (int32_t y = 0; y < 1024; ++y) {
    uint8_t* p = image.Row(y);
    for (int32_t x = 0; x < 1024; ++x, p += 4) {
      p[0] = uint8_t(128 + 100 * std::sin(x * 0.01) + (x * y % 7));
      p[1] = uint8_t(128 + 100 * std::cos(y * 0.013) + (x ^ y) % 5);
      p[2] = uint8_t((x + y) / 8 + (x * 31 + y * 17) % 9);
      p[3] = 255;
    }
  }
  qrv::SaveImageFile(path, image);
  return path;
}

bool LibpngAlone(const std::string& path, std::vector<uint8_t>& buffer) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGBA;
  buffer.resize(PNG_IMAGE_SIZE(png));
  return png_image_finish_read(&png, nullptr, buffer.data(), 0, nullptr) != 0;
}

void BM_LoadPngSprite(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  const std::string path = MakePicture();
  std::vector<uint8_t> buffer;
  double loadSeconds = 0, libpngSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    device->LoadSprite(path.c_str(), 1);
    glFinish();
    loadSeconds += Seconds(start);
    start = Clock::now();
    benchmark::DoNotOptimize(LibpngAlone(path, buffer));
    libpngSeconds += Seconds(start);
  }
  if (device->sprites[1].width != 1024) state.SkipWithError("the picture did not load");
  const double n = double(state.iterations());
  state.counters["load_sprite_ms"] = loadSeconds * 1000 / n;
  state.counters["libpng_alone_ms"] = libpngSeconds * 1000 / n;
  state.counters["ratio"] = loadSeconds / libpngSeconds;
  qrv::bench::CheckBelow("loading a 1024 x 1024 PNG into a sprite / libpng alone",
                         loadSeconds / libpngSeconds, 1.5, "x");
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadPngSprite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

QRV_BENCHMARK_MAIN()
