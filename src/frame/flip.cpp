// Flip: the buffer swap and the frame pacing against the device's next-frame deadline.
#include "frame/pacing.h"
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/platform.h"

namespace qrv {

namespace {

// The real clock: the raw timer, the host's sleep and the message pump.
struct FrameClock {
  MessageHook hook;
  double Now() { return RawTimer(); }
  void Sleep(int32_t ms) { platform::SleepMilliseconds(ms); }
  void Pump() { PumpMessages(hook); }
};

}  // namespace

int32_t Flip(OpenGLZozezezi& device, MessageHook hook) {
  if (device.window != nullptr) {
    device.FinishFrame();
    CaptureFrameIfAsked(device);
    device.CopyScaledFrame();
    platform::SwapBuffers(device.window);
    platform::GiveHostTurn(!Automation().unpaced);
    device.DrawIntoScreen();
    device.ClearAfterSwap();
  }
  FrameClock clock{hook};
  double now;
  if (Automation().unpaced) {
    clock.Pump();
    now = clock.Now();
  } else {
    now = WaitForDeadline(device.nextFrameDeadline, clock);
  }
  if (device.frameInterval <= 0) return 1;
  device.nextFrameDeadline = NextDeadline(device.nextFrameDeadline, device.frameInterval, now);
  return 1;
}

}  // namespace qrv
