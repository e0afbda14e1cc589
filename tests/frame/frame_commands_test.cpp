// The frame commands without a window: frame time before the first present, game time,
// and the commands that need a device doing nothing harmful without one.
#include <gtest/gtest.h>

#include <memory>

#include "frame/runtime.h"
#include "input/input_state.h"
#include "platform/process_host.h"
#include "quorvia/frame.h"

namespace {

TEST(FrameCommands, FrameTimeIsOneUntilTwoPresentsDiffer) {
  qrv::InitialiseTimer();
  qrv::ResetFrameTimes();
  EXPECT_EQ(qrv::FrameTime(), 1.0);
  qrv::Runtime& rt = qrv::TheRuntime();
  rt.previousFrameTime = rt.thisFrameTime;
  rt.thisFrameTime += 16.5;
  EXPECT_EQ(qrv::FrameTime(), 16.5);
  rt.thisFrameTime -= 20;  // a timer that went backwards
  EXPECT_EQ(qrv::FrameTime(), 1.0);
}

TEST(FrameCommands, GameTimeCountsFromStart) {
  qrv::InitialiseTimer();
  qrv::ResetFrameTimes();
  double start = qrv::GameTime();
  EXPECT_GE(start, 0.0);
  EXPECT_LT(start, 50.0);
  qrv::TheRuntime().startTime -= 1000;
  EXPECT_GE(qrv::GameTime(), 1000.0);
}

TEST(FrameCommands, WithoutADeviceQueriesAreZero) {
  int32_t w = -1, h = -1, x = -1, y = -1;
  qrv::GetScreenSize(w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  qrv::GetViewport(x, y, w, h);
  EXPECT_EQ(x + y + w + h, 0);
  EXPECT_EQ(qrv::IsFullscreen(), 0);
  qrv::SetViewport(1, 2, 3, 4);
  qrv::SetFrameRate(30);
}

TEST(FrameCommands, FlagsFollowTheirArguments) {
  qrv::Runtime& rt = qrv::TheRuntime();
  const struct {
    double value;
    bool flag;
  } cases[] = {{0, false}, {1, true}, {-3, true}, {0.5, true}};
  for (const auto& c : cases) {
    qrv::AutoPause(static_cast<int32_t>(c.value));
    EXPECT_EQ(rt.autoPause, static_cast<int32_t>(c.value) != 0) << c.value;
    qrv::AllowEscape(c.value);
    EXPECT_EQ(rt.escapeEnds, c.flag) << c.value;
  }
  qrv::AllowEscape(1);
  qrv::AutoPause(1);
}

TEST(FrameCommands, SwitchingAutoPauseOffEndsAPauseItCouldNeverEnd) {
  qrv::Runtime& rt = qrv::TheRuntime();
  rt.paused = true;  // a focus loss during start-up, before the game ran
  qrv::AutoPause(1);
  EXPECT_TRUE(rt.paused);
  qrv::AutoPause(0);
  EXPECT_FALSE(rt.paused);
  qrv::AutoPause(1);
}

TEST(FrameCommands, BreakpointWithoutADebuggerDoesNothing) {
  qrv::Runtime& rt = qrv::TheRuntime();
  rt.paused = true;
  EXPECT_EQ(qrv::DebuggerBreakpoint(0x2a), 0);
  EXPECT_TRUE(rt.paused);
  EXPECT_FALSE(rt.activateRequest);
  rt.paused = false;
}

void Hook() {}

TEST(FrameCommands, MessageHookIsLookedUpOnce) {
  qrv::Runtime& rt = qrv::TheRuntime();
  const qrv::NamedRoutine none[] = {{nullptr, nullptr}};
  const qrv::NamedRoutine withHook[] = {{Hook, "QRV_WIN32_MSG"}, {nullptr, nullptr}};
  rt.routines = none;
  rt.messageHookState = -1;
  EXPECT_EQ(qrv::LookUpMessageHook(), nullptr);
  EXPECT_EQ(rt.messageHookState, 0);
  rt.routines = withHook;  // too late: the answer is kept
  EXPECT_EQ(qrv::LookUpMessageHook(), nullptr);
  rt.messageHookState = -1;
  EXPECT_EQ(qrv::LookUpMessageHook(), &Hook);
  EXPECT_EQ(rt.messageHookState, 1);
  rt.routines = nullptr;
  rt.messageHookState = -1;
}

}  // namespace
