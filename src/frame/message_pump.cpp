// The message pump and the window procedure: host events reach the frame only here,
// inside present and the blocking waits.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/window_host.h"

namespace qrv {

MessageHook LookUpMessageHook() {
  Runtime& rt = TheRuntime();
  if (rt.messageHookState == -1) {
    rt.messageHook = FindNamedRoutine("QRV_WIN32_MSG");
    rt.messageHookState = rt.messageHook != nullptr ? 1 : 0;
  }
  return rt.messageHook;
}

static void SetTitle(const RtString& title) {
  Runtime& rt = TheRuntime();
  if (rt.window != nullptr) platform::SetWindowTitle(rt.window, title.c_str());
}

// Focus changes pause and resume the game, unless debugging, auto-pause is off, or the
// run is unattended (a frame limit or replayed keys: nobody is there to give the focus
// back, and a test display hands the focus to whichever window appears). A hidden window (hidden
// start) loses the focus without anyone switching away, and could never win it back: that loss does
// not pause.
static void HandleFocus(bool gained) {
  Runtime& rt = TheRuntime();
  if (rt.settings.debugFlag != 0 || !rt.autoPause || UnattendedRun()) return;
  if (!gained && (rt.window == nullptr || !platform::WindowShown(rt.window))) return;
  SetPaused(!gained);
}

void SetPaused(bool paused) {
  Runtime& rt = TheRuntime();
  SetTitle(paused ? rt.windowTitle + " <pause>" : rt.windowTitle);
  rt.paused = paused;
}

static void WindowProcedure(platform::HostEventKind kind) {
  switch (kind) {
    case platform::HostEventKind::FocusGained:
      HandleFocus(true);
      break;
    case platform::HostEventKind::FocusLost:
      HandleFocus(false);
      break;
    case platform::HostEventKind::CloseRequested:
      End();
    case platform::HostEventKind::Other:
      break;
  }
}

int32_t PumpMessages(MessageHook hook) {
  platform::PumpEvents();
  platform::HostEventKind kind;
  if (hook != nullptr) {
    while (platform::EventPending()) {
      hook();
      if (!platform::TakeEvent(&kind)) break;
      WindowProcedure(kind);
    }
  } else {
    while (platform::TakeEvent(&kind)) WindowProcedure(kind);
  }
  return 1;
}

}  // namespace qrv
