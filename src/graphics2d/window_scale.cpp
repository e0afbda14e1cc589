// The window scale: the game draws into a frame buffer of its own size, which each flip
// copies into the window enlarged by a whole factor, pixel for pixel as blocks. Every
// read of the screen (pixels, captures, the kept frame) takes the frame buffer.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "frame/runtime.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "platform/input_host.h"
#include "platform/window_host.h"

namespace qrv {

namespace {

// QRV_SCALE: a whole number 0..16; unset or anything else is 1.
int32_t RequestedScale() {
  const char* text = std::getenv("QRV_SCALE");
  if (text == nullptr || *text == 0) return 1;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != 0 || value < 0 || value > 16) return 1;
  return int32_t(value);
}

// The largest factor at which a width x height frame fits the work area (at least 1).
int32_t FittingScale(platform::HostWindow* window, int32_t width, int32_t height) {
  int32_t x = 0, y = 0, w = 0, h = 0;
  platform::WorkArea(window, &x, &y, &w, &h);
  if (width <= 0 || height <= 0) return 1;
  return std::clamp(std::min(w / width, h / height), 1, 16);
}

}  // namespace

void OpenGLZozezezi::SetUpWindowScale() {
  int32_t scale = RequestedScale();
  if (scale == 0) scale = FittingScale(window, width, height);
  if (scale < 2) return;
  if (!Framebuffer::Supported() || GlExt().glBlitFramebufferEXT == nullptr) {
    AppendToErrorLog("QRV_SCALE: no frame buffers on this driver, the window stays unscaled");
    return;
  }
  glGenTextures(1, &scaleTexture);
  if (!SizeScaleTarget()) {
    glDeleteTextures(1, &scaleTexture);
    scaleTexture = 0;
    AppendToErrorLog("QRV_SCALE: the frame buffer was refused, the window stays unscaled");
    return;
  }
  windowScale = scale;
  platform::SetWindowSize(window, int32_t(int64_t(width) * scale),
                          int32_t(int64_t(height) * scale));
  platform::SetPointerScale(scale);
  DrawIntoScreen();
}

bool OpenGLZozezezi::SizeScaleTarget() {
  ForgetGlState();
  glBindTexture(GL_TEXTURE_2D, scaleTexture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  SpecifyRgbaTexture(0, width, height, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  return scaleTarget.Create(scaleTexture, width, height, true);
}

void OpenGLZozezezi::FollowGameSize() {
  if (windowScale < 2 || (scaleTarget.Width() == width && scaleTarget.Height() == height)) return;
  if (!SizeScaleTarget()) {
    // Without its frame buffer the game draws straight into the window, unscaled.
    AppendToErrorLog("QRV_SCALE: the frame buffer was refused, the window stays unscaled");
    windowScale = 1;
    return;
  }
  DrawIntoScreen();
}

void OpenGLZozezezi::CopyScaledFrame() {
  ForgetBinding();
  if (windowScale < 2) return;
  const GlExtensions& gl = GlExt();
  scaleTarget.Bind();
  gl.glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, 0);
  // Full screen switches the display to the game size: there the copy is one to one.
  const int32_t shown = fullscreen ? 1 : windowScale;
  gl.glBlitFramebufferEXT(0, 0, width, height, 0, 0, width * shown, height * shown,
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
  Framebuffer::Restore(0);
}

void OpenGLZozezezi::DrawIntoScreen() {
  ForgetBinding();
  if (windowScale < 2) return;
  scaleTarget.Bind();
  SetDefault2DState(0, 0, 0, 0);
}

uint32_t OpenGLZozezezi::ScreenReadBuffer() const {
  return windowScale >= 2 ? GL_COLOR_ATTACHMENT0_EXT : GL_BACK;
}

}  // namespace qrv
