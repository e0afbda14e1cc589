// The game's screen commands and queries: display mode, logical screen size, viewport.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/input.h"

namespace qrv {

void SetScreen(int32_t width, int32_t height, int32_t fullscreen) {
  Runtime& rt = TheRuntime();
  rt.settings.screenWidth = width;
  rt.settings.screenHeight = height;
  rt.settings.fullscreen = fullscreen;
  if (rt.device != nullptr) rt.device->SetScreenMode(width, height, 0, fullscreen);
  // A new window (fullscreen makes one) starts with the host's pointer set-up.
  ReapplySystemPointer();
  if (rt.device == nullptr) return;
  rt.window = rt.device->window;
  // Show the current frame in the new mode.
  for (int i = 0; i < 5; ++i) Present();
}

int32_t IsFullscreen() {
  const OpenGLZozezezi* device = TheRuntime().device;
  return device != nullptr && device->fullscreen ? 1 : 0;
}

template <class T>
static void ScreenSizeInto(T& width, T& height) {
  const OpenGLZozezezi* device = TheRuntime().device;
  int32_t w = device != nullptr ? device->width : 0;
  int32_t h = device != nullptr ? device->height : 0;
  bool turned = device != nullptr && device->orientation != 0;
  width = static_cast<T>(turned ? h : w);
  height = static_cast<T>(turned ? w : h);
}

void GetScreenSize(int32_t& width, int32_t& height) {
  ScreenSizeInto(width, height);
}
void GetScreenSize(double& width, double& height) {
  ScreenSizeInto(width, height);
}

void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
  OpenGLZozezezi* device = TheRuntime().device;
  if (device != nullptr && device->contextAlive != 0) device->SetDefault2DState(x, y, w, h);
}

template <class T>
static void ViewportInto(T& x, T& y, T& w, T& h) {
  const OpenGLZozezezi* device = TheRuntime().device;
  x = static_cast<T>(device != nullptr ? device->viewportX : 0);
  y = static_cast<T>(device != nullptr ? device->viewportY : 0);
  w = static_cast<T>(device != nullptr ? device->viewportW : 0);
  h = static_cast<T>(device != nullptr ? device->viewportH : 0);
}

void GetViewport(int32_t& x, int32_t& y, int32_t& w, int32_t& h) {
  ViewportInto(x, y, w, h);
}
void GetViewport(double& x, double& y, double& w, double& h) {
  ViewportInto(x, y, w, h);
}

}  // namespace qrv
