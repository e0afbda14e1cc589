// Joysticks through SDL's virtual joystick: scaling and clamping of axes, hats, buttons,
// names, the JoystickState thresholds, and force feedback as rumble.
#include <SDL.h>
#include <gtest/gtest.h>

#include "input_fixture.h"

namespace qrv {
namespace {

struct Rumble {
  int calls = 0;
  Uint16 low = 0, high = 0;
};
Rumble rumble;

int RecordRumble(void*, Uint16 low, Uint16 high) {
  ++rumble.calls;
  rumble.low = low;
  rumble.high = high;
  return 0;
}

class JoystickTest : public testing::Test {
 protected:
  void SetUp() override {
    SDL_VirtualJoystickDesc desc{};
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = 6;
    desc.nbuttons = 40;
    desc.nhats = 1;
    desc.name = "Test Pad";
    desc.Rumble = RecordRumble;
    ASSERT_NO_FATAL_FAILURE(device_.Attach(desc));
    virtualPad_ = device_.Get();
    CreateInput();
    InitInput(false);
    rumble = Rumble();
  }
  void TearDown() override {
    ShutdownInput();
    device_.Detach();
  }
  void SetAxis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(virtualPad_, axis, value); }

  VirtualJoystick device_;
  SDL_Joystick* virtualPad_ = nullptr;
};

TEST_F(JoystickTest, FoundAtSetUpWithItsName) {
  EXPECT_EQ(JoystickCount(), 1);
  EXPECT_STREQ(JoystickName(0).c_str(), "Test Pad, Test Pad");
  EXPECT_STREQ(JoystickName(1).c_str(), "");
  EXPECT_STREQ(JoystickName(-1).c_str(), "");
}

TEST_F(JoystickTest, AxesScaleAndClampToPlusMinusOne) {
  const std::pair<Sint16, double> cases[] = {
      {32767, 1.0}, {-32768, -1.0}, {0, 0.0}, {16384, 16384 / 32767.0}, {-16384, -16384 / 32767.0}};
  double (*const axes[])(int32_t) = {JoystickX,  JoystickY,  JoystickZ,
                                     JoystickRX, JoystickRY, JoystickRZ};
  for (auto [raw, expected] : cases) {
    for (int axis = 0; axis < 6; ++axis) SetAxis(axis, raw);
    for (int axis = 0; axis < 6; ++axis) {
      EXPECT_NEAR(axes[axis](0), expected, 1e-4) << "axis " << axis << " raw " << raw;
    }
  }
  JoystickSample sample;
  ReadJoystick(&sample, 0);
  SetAxis(0, 32767);
  ReadJoystick(&sample, 0);
  EXPECT_EQ(sample.x, 32768);
  EXPECT_EQ(JoystickX(5), 0.0);  // no such joystick
}

TEST_F(JoystickTest, TurnedDisplayTurnsXAndY) {
  SetAxis(0, 32767);
  SetAxis(1, -32768);
  TurnDisplay(true);
  EXPECT_DOUBLE_EQ(JoystickX(0), 1.0);  // -(Y)
  EXPECT_DOUBLE_EQ(JoystickY(0), 1.0);  // X
  TurnDisplay(false);
  EXPECT_DOUBLE_EQ(JoystickY(0), -1.0);
}

TEST_F(JoystickTest, HatsGiveDirectionsFromHundredthsOfADegree) {
  const struct {
    Uint8 hat;
    uint32_t hundredths;
    double x, y;
  } cases[] = {
      {SDL_HAT_CENTERED, 0xFFFFFFFFu, 0, 0}, {SDL_HAT_UP, 0, 0, -1},
      {SDL_HAT_RIGHTUP, 4500, 1, -1},        {SDL_HAT_RIGHT, 9000, 1, 0},
      {SDL_HAT_RIGHTDOWN, 13500, 1, 1},      {SDL_HAT_DOWN, 18000, 0, 1},
      {SDL_HAT_LEFTDOWN, 22500, -1, 1},      {SDL_HAT_LEFT, 27000, -1, 0},
      {SDL_HAT_LEFTUP, 31500, -1, -1},
  };
  for (const auto& c : cases) {
    SDL_JoystickSetVirtualHat(virtualPad_, 0, c.hat);
    JoystickSample sample;
    ReadJoystick(&sample, 0);
    EXPECT_EQ(sample.hats[0], c.hundredths);
    EXPECT_EQ(sample.hats[1], 0xFFFFFFFFu);
    EXPECT_EQ(JoystickHatX(0), c.x) << c.hundredths;
    EXPECT_EQ(JoystickHatY(0), c.y) << c.hundredths;
  }
}

TEST_F(JoystickTest, ButtonsReadRawUpToThirtyTwo) {
  for (int button : {0, 1, 31, 32, 39}) SDL_JoystickSetVirtualButton(virtualPad_, button, 1);
  EXPECT_EQ(JoystickButton(0, 0), 128);
  EXPECT_EQ(JoystickButton(0, 31), 128);
  EXPECT_EQ(JoystickButton(0, 2), 0);
  EXPECT_EQ(JoystickButton(0, 32), 0);
  EXPECT_EQ(JoystickButton(0, -1), 0);
  EXPECT_EQ(JoystickButton(3, 0), 0);
}

TEST_F(JoystickTest, JoystickStateCountsWholeThirtyThousandths) {
  // SDL's 29999 is 30000 on the sample's symmetric scale; negative values are not scaled.
  const std::pair<Sint16, double> cases[] = {{29998, 0},  {29999, 1},   {32767, 1},
                                             {-29999, 0}, {-30000, -1}, {-32768, -1}};
  for (auto [raw, expected] : cases) {
    SetAxis(0, raw);
    JoystickSample sample;
    ReadJoystick(&sample, 0);
    EXPECT_EQ(sample.x >= 30000 || sample.x <= -30000, expected != 0) << sample.x;
    SetAxis(1, raw);
    SDL_JoystickSetVirtualButton(virtualPad_, 1, 1);
    double x, y, b1, b2;
    JoystickState(&x, &y, &b1, &b2);
    EXPECT_EQ(x, expected) << raw;
    EXPECT_EQ(y, expected) << raw;
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(b2, 128);
  }
}

TEST_F(JoystickTest, ForceWithoutHapticsRumbles) {
  JoystickForce(0, 250, 1, 1);
  SDL_JoystickUpdate();
  EXPECT_EQ(rumble.calls, 1);
  EXPECT_EQ(rumble.low, 65535);
  EXPECT_EQ(rumble.high, 65535);
  JoystickForce(0, 250, 0.5, 0);  // (0.25) * 5000 = 1250 of 10000
  EXPECT_EQ(rumble.low, 1250 * 65535 / 10000);
  JoystickForce(0, -5, 7, std::nan(""));  // clamped, not wrapped
  EXPECT_EQ(rumble.low, 5000 * 65535 / 10000);
  JoystickForce(4, 250, 1, 1);  // no such joystick
  EXPECT_EQ(rumble.calls, 3);
}

}  // namespace
}  // namespace qrv
