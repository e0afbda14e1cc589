// The capture hook: which presents to save, read from the environment once, and the
// back-buffer read-back written as PNG.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {
namespace {

struct CapturePlan {
  std::string folder;           // empty: no capture
  std::vector<int64_t> frames;  // listed present numbers
  int64_t every = 1;            // 0: only the listed ones
};

// Present numbers from "every:K" or a comma list; anything unreadable is skipped.
CapturePlan ReadPlan() {
  CapturePlan plan;
  const char* folder = std::getenv("QRV_CAPTURE");
  if (folder == nullptr || *folder == 0) return plan;
  plan.folder = folder;
  const char* list = std::getenv("QRV_CAPTURE_FRAMES");
  if (list == nullptr || *list == 0) return plan;
  const std::string text(list);
  if (text.starts_with("every:")) {
    plan.every = std::max(1LL, std::atoll(text.c_str() + 6));
    return plan;
  }
  plan.every = 0;
  for (size_t start = 0; start <= text.size();) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const long long number = std::atoll(text.substr(start, comma - start).c_str());
    if (number > 0) plan.frames.push_back(number);
    start = comma + 1;
  }
  return plan;
}

const CapturePlan& Plan() {
  static const CapturePlan plan = ReadPlan();
  return plan;
}

bool Wanted(const CapturePlan& plan, int64_t number) {
  if (plan.every > 0) return number % plan.every == 0;
  return std::find(plan.frames.begin(), plan.frames.end(), number) != plan.frames.end();
}

}  // namespace

RgbaImage ReadFrameBuffer(uint32_t buffer, int32_t width, int32_t height) {
  RgbaImage image;
  image.Resize(width, height);
  std::vector<uint8_t> rows(image.pixels.size());
  glReadBuffer(buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  const size_t stride = size_t(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    std::copy_n(rows.data() + size_t(height - 1 - y) * stride, stride, image.Row(y));
  }
  return image;
}

void CaptureFrameIfAsked(OpenGLZozezezi& device) {
  const CapturePlan& plan = Plan();
  const int64_t number = TheRuntime().presentCount + 1;
  if (plan.folder.empty() || device.contextAlive == 0 || device.width <= 0 || device.height <= 0 ||
      !Wanted(plan, number)) {
    return;
  }
  device.FlushBatch();
  std::error_code ignored;
  std::filesystem::create_directories(plan.folder, ignored);
  char file[32];
  std::snprintf(file, sizeof file, "frame-%06lld.png", static_cast<long long>(number));
  RgbaImage image = ReadFrameBuffer(device.ScreenReadBuffer(), device.width, device.height);
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  if (!SaveImageFile((std::filesystem::path(plan.folder) / file).string(), image)) {
    AppendToErrorLog(("Cannot save the captured frame " + std::string(file)).c_str());
  }
}

}  // namespace qrv
