// The mouse against the real X pointer (moved with xdotool): motion computed once per
// frame, the tracked position clamped to the screen, and the turned display.
#include <cstdlib>
#include <string>

#include "input_fixture.h"

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
    InitInput(false);
  }
  void TearDown() override {
    InputTest::TearDown();
    SDL_DestroyWindow(window_);
  }
  static void MovePointerTo(int x, int y) {
    std::string command = "xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y);
    ASSERT_EQ(std::system(command.c_str()), 0);
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
  SetInputTurned(true);
  SetMousePosition(10, 20);
  double x, y, b1, b2;
  MouseState(&x, &y, &b1, &b2);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 629);
}

TEST_F(MouseTest, ButtonsAreReadLive) {
  ASSERT_EQ(std::system("xdotool mousedown 1"), 0);
  EXPECT_TRUE(AnyMouseButton());
  EXPECT_EQ(MouseAxis(3), 1);
  ASSERT_EQ(std::system("xdotool mouseup 1"), 0);
  EXPECT_FALSE(AnyMouseButton());
  EXPECT_EQ(MouseCount(), 1);
}

}  // namespace
}  // namespace qrv
