// The game's frame commands: frame rate, game time, frame time, auto-pause, allow-escape.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

void SetFrameRate(double fps) {
  OpenGLZozezezi* device = TheRuntime().device;
  if (device != nullptr) device->frameInterval = FrameIntervalFor(fps);
}

double GameTime() { return RawTimer() - TheRuntime().startTime; }

double FrameTime() {
  const Runtime& rt = TheRuntime();
  double elapsed = rt.thisFrameTime - rt.previousFrameTime;
  return elapsed > 0 ? elapsed : 1.0;
}

void AutoPause(int32_t flag) { TheRuntime().autoPause = flag != 0; }

void AllowEscape(double flag) { TheRuntime().escapeEnds = flag != 0; }

}  // namespace qrv
