// Grabbing the whole 640 x 480 screen into a tiled image, and saving the presented screen
// as PNG, each against glReadPixels (+ libpng writing the same file) alone in the same run.
// Prints both times and their ratio (target: within 1.5x).
#include <GL/gl.h>
#include <png.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void DrawScene(qrv::OpenGLZozezezi& device) {
  device.SetDefault2DState(0, 0, 0, 0);
  for (int i = 0; i < 40; ++i) device.FillRect(i * 16, i * 12, 200, 120, 0x102030 * (i + 1));
  device.PrintText(0, "The screen to grab and save", 20, 20, 0);
}

std::vector<uint8_t> ReadScreen(int w, int h) {
  std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

// libpng alone: the rows bottom-up as read, written top-down.
void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int w, int h) {
  FILE* file = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGBA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = h - 1; y >= 0; --y) {
    png_write_row(png, pixels.data() + size_t(y) * size_t(w) * 4);
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

void BM_GrabTiledImage(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  DrawScene(*device);
  double grabSeconds = 0, readSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    device->GrabTiledImage(4);
    glFinish();
    grabSeconds += Seconds(start);
    start = Clock::now();
    benchmark::DoNotOptimize(ReadScreen(640, 480));
    readSeconds += Seconds(start);
  }
  const double n = double(state.iterations());
  state.counters["grab_ms"] = grabSeconds * 1000 / n;
  state.counters["read_pixels_ms"] = readSeconds * 1000 / n;
  state.counters["ratio"] = grabSeconds / readSeconds;
  qrv::bench::CheckAtMost("grabbing the 640 x 480 screen into a tiled image / glReadPixels",
                          grabSeconds / readSeconds, 1.5, "x");
}
BENCHMARK(BM_GrabTiledImage)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_SaveScreen(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr) {
    state.SkipWithError("no display");
    return;
  }
  DrawScene(*device);
  device->FinishFrame();  // what present keeps of the frame it shows
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::string saved = (folder / "qrv_bench_saved.png").string();
  const std::string plain = (folder / "qrv_bench_plain.png").string();
  double saveSeconds = 0, plainSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    device->SaveScreen(saved);
    saveSeconds += Seconds(start);
    start = Clock::now();
    WritePng(plain, ReadScreen(640, 480), 640, 480);
    plainSeconds += Seconds(start);
  }
  std::filesystem::remove(saved);
  std::filesystem::remove(plain);
  const double n = double(state.iterations());
  state.counters["save_screen_ms"] = saveSeconds * 1000 / n;
  state.counters["read_pixels_libpng_ms"] = plainSeconds * 1000 / n;
  state.counters["ratio"] = saveSeconds / plainSeconds;
  qrv::bench::CheckAtMost("saving the 640 x 480 screen as PNG / glReadPixels + libpng",
                          saveSeconds / plainSeconds, 1.5, "x");
}
BENCHMARK(BM_SaveScreen)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

QRV_BENCHMARK_MAIN()
