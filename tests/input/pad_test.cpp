// Pads by name through SDL's own game-controller path: a virtual joystick whose raw buttons
// and axes a mapping, given as a user gives one (the SDL_GAMECONTROLLERCONFIG variable or the
// file SDL_GAMECONTROLLERCONFIG_FILE names), puts in other places than their numbers suggest,
// so that reading raw numbers, or a name mapped to the wrong SDL name, answers wrongly.
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "input_fixture.h"
#include "quorvia/pad_codes.h"
#include "support/host.h"

namespace qrv {
namespace {

// Each name with the raw button the mapping below gives it: no name keeps its own number.
struct RawButton {
  int32_t name;
  int raw;
};
constexpr RawButton kRawButtons[] = {
    {kPadSouth, 5},        {kPadEast, 3},          {kPadWest, 0},      {kPadNorth, 14},
    {kPadLeftShoulder, 1}, {kPadRightShoulder, 12}, {kPadLeftStick, 2}, {kPadRightStick, 11},
    {kPadStart, 4},        {kPadBack, 13},         {kPadGuide, 6},
};
// The direction pad is the hat's, as on most pads.
struct RawHat {
  int32_t name;
  Uint8 hat;
};
constexpr RawHat kRawHats[] = {{kPadDpadUp, SDL_HAT_UP},
                               {kPadDpadRight, SDL_HAT_RIGHT},
                               {kPadDpadDown, SDL_HAT_DOWN},
                               {kPadDpadLeft, SDL_HAT_LEFT}};
const char* const kMapping =
    "Swapped Pad,a:b5,b:b3,x:b0,y:b14,leftshoulder:b1,rightshoulder:b12,leftstick:b2,"
    "rightstick:b11,start:b4,back:b13,guide:b6,dpup:h0.1,dpright:h0.2,dpdown:h0.4,dpleft:h0.8,"
    "leftx:a3,lefty:a4,rightx:a0,righty:a5,lefttrigger:a1,righttrigger:a2,";
// The axes' raw numbers under that mapping: left X, left Y, right X, right Y, the triggers.
constexpr int kRawAxes[kPadAxisCount] = {3, 4, 0, 5, 1, 2};

class PadTest : public testing::Test {
 protected:
  // SDL reads the mappings as its joystick service starts, so the device's GUID is learnt
  // from a first attachment, before the variables are set and the service starts again.
  void SetUp() override {
    desc_.type = SDL_JOYSTICK_TYPE_UNKNOWN;  // SDL maps a virtual "game controller" itself
    desc_.vendor_id = 0x7171;
    desc_.product_id = 0x0002;
    desc_.naxes = 6;
    desc_.nbuttons = 16;
    desc_.nhats = 1;
    desc_.name = "Swapped Pad";
    ASSERT_NO_FATAL_FAILURE(device_.Attach(desc_));
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device_.Index()), guid, sizeof guid);
    mappingLine_ = std::string(guid) + "," + kMapping;
    device_.Detach();
  }
  void TearDown() override {
    ShutdownInput();
    test_host::UnsetVariable("SDL_GAMECONTROLLERCONFIG");
    test_host::UnsetVariable("SDL_GAMECONTROLLERCONFIG_FILE");
    device_.Detach();
  }
  // The device, and the runtime's input set-up with SDL's game-controller service.
  void StartInput() {
    ASSERT_NO_FATAL_FAILURE(device_.Attach(desc_));
    virtualPad_ = device_.Get();
    CreateInput();
    InitInput(false);
    ASSERT_EQ(JoystickCount(), 1);
  }
  void StartWithMappingInVariable() {
    test_host::SetVariable("SDL_GAMECONTROLLERCONFIG", mappingLine_);
    StartInput();
  }
  void Press(int raw, bool down) { SDL_JoystickSetVirtualButton(virtualPad_, raw, down); }
  void SetRawAxis(int raw, Sint16 value) { SDL_JoystickSetVirtualAxis(virtualPad_, raw, value); }
  // The names PadButton reports held, as a bit set.
  static uint32_t HeldNames() {
    uint32_t held = 0;
    for (int32_t name = 0; name < kPadButtonCount; ++name) {
      if (PadButton(0, name) != 0) held |= 1u << name;
    }
    return held;
  }

  SDL_VirtualJoystickDesc desc_{};
  VirtualJoystick device_;
  std::string mappingLine_;
  SDL_Joystick* virtualPad_ = nullptr;
};

TEST_F(PadTest, ButtonsAnswerByTheirMappedNames) {
  StartWithMappingInVariable();
  EXPECT_EQ(HeldNames(), 0u);
  for (const RawButton& b : kRawButtons) {
    Press(b.raw, true);
    EXPECT_EQ(HeldNames(), 1u << b.name) << "raw button " << b.raw;
    EXPECT_EQ(PadButton(0, b.name), 1);
    EXPECT_EQ(JoystickButton(0, b.raw), 128);  // the raw reading is unchanged beside it
    Press(b.raw, false);
  }
  for (const RawHat& h : kRawHats) {
    SDL_JoystickSetVirtualHat(virtualPad_, 0, h.hat);
    EXPECT_EQ(HeldNames(), 1u << h.name) << "hat " << int(h.hat);
  }
  SDL_JoystickSetVirtualHat(virtualPad_, 0, SDL_HAT_RIGHTUP);
  EXPECT_EQ(HeldNames(), 1u << kPadDpadUp | 1u << kPadDpadRight);
}

TEST_F(PadTest, AxesAnswerByNameOnTheJoystickScale) {
  StartWithMappingInVariable();
  // Sticks: SDL's -32768..32767 divided by 32767 and clamped, as JoystickX reads.
  const Sint16 stickValues[4] = {-32768, 32767, 16384, -8192};
  for (int32_t name = kPadLeftX; name <= kPadRightY; ++name) {
    SetRawAxis(kRawAxes[name], stickValues[name]);
  }
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftX), -1.0);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftY), 1.0);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightX), 16384 / 32767.0);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightY), -8192 / 32767.0);
  // Triggers: a raw axis over its whole range reads 0 released .. 1 fully pressed.
  SetRawAxis(kRawAxes[kPadLeftTrigger], -32768);
  SetRawAxis(kRawAxes[kPadRightTrigger], 32767);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftTrigger), 0.0);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightTrigger), 1.0);
  SetRawAxis(kRawAxes[kPadLeftTrigger], 32767);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftTrigger), 1.0);
}

TEST_F(PadTest, TurnedDisplayTurnsTheSticksOnly) {
  StartWithMappingInVariable();
  SetRawAxis(kRawAxes[kPadLeftX], 32767);
  SetRawAxis(kRawAxes[kPadLeftY], -32768);
  SetRawAxis(kRawAxes[kPadRightX], -32768);
  SetRawAxis(kRawAxes[kPadRightY], 0);
  SetRawAxis(kRawAxes[kPadRightTrigger], 32767);
  TurnDisplay(true);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftX), 1.0);   // -(Y)
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftY), 1.0);   // X
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightX), 0.0);  // -(Y)
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightY), -1.0); // X
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadRightTrigger), 1.0);
  TurnDisplay(false);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftY), -1.0);
}

TEST_F(PadTest, MappingFromTheFileTheVariableNames) {
  test_host::ScratchFolder folder("qrv-pad");
  const std::string file = folder.Path() + "/pads.txt";
  std::ofstream(file) << "# pads of this machine\n"
                      << mappingLine_ << "platform:" << SDL_GetPlatform() << ",\n";
  test_host::SetVariable("SDL_GAMECONTROLLERCONFIG_FILE", file);
  StartInput();
  Press(5, true);
  SetRawAxis(3, 32767);
  EXPECT_EQ(HeldNames(), 1u << kPadSouth);
  EXPECT_DOUBLE_EQ(PadAxis(0, kPadLeftX), 1.0);
}

TEST_F(PadTest, NoPadNoNameAndNoMappingAnswerZero) {
  StartInput();  // no mapping: the joystick is no pad
  Press(5, true);
  SetRawAxis(3, 32767);
  EXPECT_EQ(JoystickButton(0, 5), 128);
  EXPECT_EQ(HeldNames(), 0u);
  EXPECT_EQ(PadAxis(0, kPadLeftX), 0.0);
  ShutdownInput();
  device_.Detach();

  StartWithMappingInVariable();
  for (int raw = 0; raw < 16; ++raw) Press(raw, true);
  for (int raw = 0; raw < 6; ++raw) SetRawAxis(raw, 32767);
  EXPECT_EQ(HeldNames(), (1u << kPadButtonCount) - 1 - (0xFu << kPadDpadUp));
  for (int32_t pad : {-1, 1, kMaxJoysticks}) {
    EXPECT_EQ(PadButton(pad, kPadSouth), 0) << pad;
    EXPECT_EQ(PadAxis(pad, kPadLeftX), 0.0) << pad;
  }
  for (int32_t name : {-1, kPadButtonCount, 255}) EXPECT_EQ(PadButton(0, name), 0) << name;
  for (int32_t name : {-1, kPadAxisCount, 255}) EXPECT_EQ(PadAxis(0, name), 0.0) << name;
}

}  // namespace
}  // namespace qrv
