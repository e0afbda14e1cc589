// Present: the game's once-per-frame call. It flips and paces, pumps the window's
// messages, holds the game while paused, ends the program on Escape or Alt+F4, and
// starts the next frame from the default drawing state.
#include <cstdio>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/platform.h"
#include "quorvia/input.h"
#include "quorvia/sound.h"
#include "platform/window_host.h"

namespace qrv {

// Brings the window to the front for a debugger that asked for it.
static void ServeActivateRequest() {
  Runtime& rt = TheRuntime();
  if (!rt.activateRequest) return;
  std::puts("activate");
  if (rt.window != nullptr) {
    platform::ShowWindow(rt.window);
    platform::RaiseWindow(rt.window);
  }
  std::puts("ok");
  std::fflush(stdout);
  rt.activateRequest = false;
}

// While the window is inactive the game stays inside present; messages keep flowing.
static void WaitWhilePaused() {
  Runtime& rt = TheRuntime();
  while (rt.paused && !rt.activateRequest) {
    MusicLoopCheck();
    PumpMessages(LookUpMessageHook());
    if (rt.paused) platform::SleepMilliseconds(100);
  }
}

void CheckEndingKeys() {
  if (TheRuntime().escapeEnds && (KeyDown(129) || KeyDown(1))) ErrorStop(0);
  if (KeyDown(56) && KeyDown(62)) ErrorStop(0);
}

// Every frame starts from the default 2D state over the full window: opaque white,
// unblended, alpha-tested, device alpha 1, no shader; the background image comes first.
static void StartNextFrame(OpenGLZozezezi& device) {
  device.SetDefault2DState(0, 0, 0, 0);
  device.StartFrame();
}

void Present() {
  Runtime& rt = TheRuntime();
  ServeActivateRequest();
  rt.previousFrameTime = rt.thisFrameTime;
  rt.thisFrameTime = RawTimer();
  WaitWhilePaused();
  SampleFrameInput();
  CheckEndingKeys();
  MusicLoopCheck();
  MessageHook hook = LookUpMessageHook();
  PumpMessages(hook);
  if (rt.device != nullptr && rt.device->contextAlive != 0) {
    Flip(*rt.device, hook);
    StartNextFrame(*rt.device);
  }
  CountPresent();
}

}  // namespace qrv
