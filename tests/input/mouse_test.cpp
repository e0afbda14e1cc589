// The mouse against the real X pointer (moved with xdotool): motion computed once per
// frame, the tracked position clamped to the screen, and the turned display.
#include <cstdlib>
#include <string>
#include <utility>

#include "input_fixture.h"
#include "support/host.h"

namespace qrv {
namespace {

class MouseTest : public InputTest {
 protected:
  // The pointer moves inside a window of the program, as it does when a game runs.
  void SetUp() override {
    InputTest::SetUp();
    window_ = SDL_CreateWindow("mouse test", 0, 0, 640, 480, SDL_WINDOW_SHOWN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    MovePointerTo(100, 100);
    // The window must be mapped and under the pointer before its pointer events count.
    for (int tries = 0; tries < 200 && SDL_GetMouseFocus() != window_; ++tries) {
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    ASSERT_EQ(SDL_GetMouseFocus(), window_);
    InitInput(false);
  }
  void TearDown() override {
    InputTest::TearDown();
    SDL_DestroyWindow(window_);
  }
  static void MovePointerTo(int x, int y) {
    std::string command = "xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y);
    ASSERT_EQ(test_host::RunShell(command).status, 0);
  }
  SDL_Window* window_ = nullptr;
};

TEST_F(MouseTest, MotionIsComputedOncePerFrame) {
  MovePointerTo(300, 200);
  SampleFrameInput();
  EXPECT_EQ(MouseAxis(0), 200);
  MovePointerTo(350, 260);
  EXPECT_EQ(MouseAxis(0), 200);  // same frame: the same motion
  EXPECT_EQ(MouseAxis(1), 100);
  SampleFrameInput();
  EXPECT_EQ(MouseAxis(1), 60);  // the next frame's first reading computes anew
  EXPECT_EQ(MouseAxis(0), 50);
  SampleFrameInput();
  EXPECT_EQ(MouseAxis(0), 0);
  EXPECT_EQ(MouseAxis(2), 0);
  EXPECT_EQ(MouseAxis(3), 0);
  EXPECT_EQ(MouseAxis(6), 0);
  EXPECT_EQ(MouseAxis(-1), 0);
}

TEST_F(MouseTest, MouseStateClampsTheTrackedPosition) {
  SampleFrameInput();
  MouseAxis(0);  // this frame's motion is taken; the tracked position is ours to set
  const struct {
    int32_t setX, setY, x, y;
  } cases[] = {{-5, 10000, 0, 479}, {640, -1, 639, 0}, {12, 34, 12, 34}};
  for (const auto& c : cases) {
    SetMousePosition(c.setX, c.setY);
    int32_t x, y, b1, b2;
    MouseState(&x, &y, &b1, &b2);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(TheInput()->pointerX, c.x);  // stored back
    EXPECT_EQ(b1, 0);
  }
  TurnDisplay(true);
  SetMousePosition(10, 20);
  double x, y, b1, b2;
  MouseState(&x, &y, &b1, &b2);
  TurnDisplay(false);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 629);
}

// The screen command puts the recorded pointer set-up on the (possibly new) window again.
TEST_F(MouseTest, ScreenCommandReappliesThePointerSetUp) {
  const ProjectSettings saved = Settings();
  // No device here: the command changes no display mode and presents nothing.
  OpenGLZozezezi* device = std::exchange(TheRuntime().device, nullptr);
  ShowSystemPointer(1);
  SDL_ShowCursor(SDL_DISABLE);  // as a window made anew starts
  SetScreen(saved.screenWidth, saved.screenHeight, 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  ShowSystemPointer(0);
  SDL_ShowCursor(SDL_ENABLE);
  SetScreen(saved.screenWidth, saved.screenHeight, 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  ShowSystemPointer(1);
  Settings() = saved;
  TheRuntime().device = device;
}

// Turned, x follows dy and y follows dx.
TEST_F(MouseTest, TurnedDisplayTurnsTheMotion) {
  SampleFrameInput();
  MouseAxis(0);
  MovePointerTo(130, 150);
  SampleFrameInput();
  TurnDisplay(true);
  int32_t dx = MouseAxis(0), dy = MouseAxis(1);
  TurnDisplay(false);
  EXPECT_EQ(dx, 50);
  EXPECT_EQ(dy, 30);
}

// Wheel notches arrive as events through the frame's pump; a frame reads their direction.
TEST_F(MouseTest, WheelGivesItsDirectionPerFrame) {
  const std::pair<const char*, int> cases[] = {{"4", 1}, {"5", -1}, {"4 click 4 click 5", 1}};
  for (auto [buttons, expected] : cases) {
    ASSERT_EQ(test_host::RunShell(std::string("xdotool click ") + buttons).status, 0);
    SDL_Delay(50);
    PumpMessages(nullptr);
    SampleFrameInput();
    EXPECT_EQ(MouseAxis(2), expected) << buttons;
    EXPECT_EQ(MouseAxis(2), expected) << buttons;  // the same frame: the same reading
    SampleFrameInput();
    EXPECT_EQ(MouseAxis(2), 0) << buttons;
  }
}

// A hidden pointer is in relative mode: the tracked position integrates the motion.
TEST_F(MouseTest, HiddenPointerIntegratesRelativeMotion) {
  ShowSystemPointer(0);
  SetMousePosition(300, 300);
  SampleFrameInput();
  MouseAxis(0);
  ASSERT_EQ(test_host::RunShell("xdotool mousemove_relative --sync -- 40 -25").status, 0);
  SDL_Delay(50);
  SampleFrameInput();
  EXPECT_EQ(MouseAxis(0), 40);
  EXPECT_EQ(MouseAxis(1), -25);
  int32_t x, y, b1, b2;
  MouseState(&x, &y, &b1, &b2);
  EXPECT_EQ(x, 340);
  EXPECT_EQ(y, 275);
  ShowSystemPointer(1);
}

TEST_F(MouseTest, ButtonsAreReadLive) {
  ASSERT_EQ(test_host::RunShell("xdotool mousedown 1").status, 0);
  EXPECT_TRUE(AnyMouseButton());
  EXPECT_EQ(MouseAxis(3), 1);
  ASSERT_EQ(test_host::RunShell("xdotool mouseup 1").status, 0);
  EXPECT_FALSE(AnyMouseButton());
  EXPECT_EQ(MouseCount(), 1);
}

}  // namespace
}  // namespace qrv
