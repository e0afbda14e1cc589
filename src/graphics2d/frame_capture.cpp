// The capture hook: the presents QRV_CAPTURE asks for (see the automation hooks) read
// back from the back buffer and written as PNG.
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/runtime.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"

namespace qrv {
RgbaImage ReadFrameBuffer(uint32_t buffer, int32_t width, int32_t height) {
  RgbaImage image;
  image.Resize(width, height);
  std::vector<uint8_t> rows(image.pixels.size());
  ChooseReadBuffer(buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  const size_t stride = size_t(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    std::copy_n(rows.data() + size_t(height - 1 - y) * stride, stride, image.Row(y));
  }
  return image;
}

void CaptureFrameIfAsked(OpenGLZozezezi& device) {
  const int64_t number = TheRuntime().presentCount + 1;
  if (!CaptureWanted(number) || device.contextAlive == 0 || device.width <= 0 ||
      device.height <= 0) {
    return;
  }
  device.FlushBatch();
  char file[32];
  std::snprintf(file, sizeof file, "frame-%06lld.png", static_cast<long long>(number));
  RgbaImage image = ReadFrameBuffer(device.ScreenReadBuffer(), device.width, device.height);
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  if (!SaveImageFile((std::filesystem::path(Automation().captureFolder) / file).string(), image)) {
    AppendToErrorLog(("Cannot save the captured frame " + std::string(file)).c_str());
  }
}

}  // namespace qrv
