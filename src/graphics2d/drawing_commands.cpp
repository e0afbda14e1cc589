// The game-facing drawing commands: each forwards to the one graphics device while its
// GL context is alive, and does nothing otherwise.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

// The device when drawing is possible, else null.
static OpenGLZozezezi* Drawing() {
  OpenGLZozezezi* device = TheRuntime().device;
  return device != nullptr && device->contextAlive != 0 ? device : nullptr;
}

// Runs op on the device with the arguments, when there is one to draw on. Drawing in 2D
// ends the scene's 3D mode.
template <typename... Params, typename... Args>
static void Draw(void (OpenGLZozezezi::*op)(Params...), Args... args) {
  if (OpenGLZozezezi* device = Drawing()) {
    device->Leave3DMode();
    (device->*op)(args...);
  }
}

// The alpha mode and smoothing apply to 3D drawing too.
void SetAlphaMode(double f) {
  if (OpenGLZozezezi* device = Drawing()) device->SetAlphaMode(f);
}
void SetSmoothing(int32_t flag) {
  if (OpenGLZozezezi* device = Drawing()) device->SetSmoothing(flag);
}
void ClearScreen(int32_t c) {
  Draw(&OpenGLZozezezi::ClearScreen, c);
}
void DrawSprite(int32_t id, int32_t x, int32_t y) {
  Draw(&OpenGLZozezezi::DrawSprite, id, x, y);
}
void DrawSpriteStretched(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  Draw(&OpenGLZozezezi::DrawSpriteStretched, id, x, y, w, h);
}
void DrawSpriteScaled(int32_t id, int32_t x, int32_t y, double sx, double sy) {
  Draw(&OpenGLZozezezi::DrawSpriteScaled, id, x, y, sx, sy);
}
void DrawSpriteRotated(int32_t id, float x, float y, float angle, float zoom) {
  Draw(&OpenGLZozezezi::DrawSpriteRotated, id, x, y, angle, zoom);
}
void DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y) {
  Draw(&OpenGLZozezezi::DrawFrame, id, frame, x, y);
}
void DrawFrameRotated(int32_t id, int32_t frame, float x, float y, float angle, float zoom) {
  Draw(&OpenGLZozezezi::DrawFrameRotated, id, frame, x, y, angle, zoom);
}
void DrawFrameStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h) {
  Draw(&OpenGLZozezezi::DrawFrameStretched, id, frame, x, y, w, h);
}
void BeginPolygon(int32_t id, int32_t mode) {
  Draw(&OpenGLZozezezi::BeginPolygon, id, mode);
}
void AddPolygonVertex(float x, float y, float tx, float ty, int32_t c) {
  Draw(&OpenGLZozezezi::AddPolygonVertex, x, y, tx, ty, c);
}
void BreakPolygonStrip() {
  Draw(&OpenGLZozezezi::BreakPolygonStrip);
}
void EndPolygon() {
  Draw(&OpenGLZozezezi::EndPolygon);
}
void PlotPixel(int32_t x, int32_t y, int32_t c) {
  Draw(&OpenGLZozezezi::PlotPixel, x, y, c);
}
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t c) {
  Draw(&OpenGLZozezezi::DrawLine, x1, y1, x2, y2, c);
}
void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t c) {
  Draw(&OpenGLZozezezi::FillRect, x, y, w, h, c);
}
void DrawEllipse(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t c, int32_t filled) {
  Draw(&OpenGLZozezezi::DrawEllipse, x, y, rx, ry, c, filled);
}
void DrawCircle(int32_t x, int32_t y, int32_t radius, int32_t c, int32_t filled) {
  DrawEllipse(x, y, radius, radius, c, filled);
}

}  // namespace qrv
