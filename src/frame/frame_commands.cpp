// The game's frame commands: frame rate, game time, frame time, auto-pause, allow-escape,
// and the debugger breakpoint that wakes a paused game.
#include <cstdio>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/process_host.h"
#include "quorvia/input.h"

namespace qrv {

void SetFrameRate(double fps) {
  OpenGLZozezezi* device = TheRuntime().device;
  if (device != nullptr) device->frameInterval = FrameIntervalFor(fps);
}

double GameTime() {
  return RawTimer() - TheRuntime().startTime;
}

double FrameTime() {
  const Runtime& rt = TheRuntime();
  double elapsed = rt.thisFrameTime - rt.previousFrameTime;
  return elapsed > 0 ? elapsed : 1.0;
}

void AutoPause(int32_t flag) {
  Runtime& rt = TheRuntime();
  rt.autoPause = flag != 0;
  // A pause that began before the game switched pausing off (a focus loss during start-up)
  // could never end: only focus changes under auto-pause clear it.
  if (!rt.autoPause && rt.paused) SetPaused(false);
}

void AllowEscape(double flag) {
  TheRuntime().escapeEnds = flag != 0;
}

int32_t DebuggerBreakpoint(int32_t value) {
  if (!platform::DebuggerAttached()) return 0;
  char text[16];
  std::snprintf(text, sizeof text, "BP%x", static_cast<unsigned>(value));
  platform::DebugText(text);
  Runtime& rt = TheRuntime();
  rt.paused = false;
  // The game resumes on what is held now, not on what was held when it stopped.
  SampleKeyboard();
  MarkMouseFresh();
  rt.activateRequest = true;
  return 1;
}

}  // namespace qrv
