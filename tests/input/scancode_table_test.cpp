// The scan-code table: every key of a 105-key keyboard with its keypad reports the
// runtime's key code, and no two keys share one.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/input_host.h"

namespace qrv {
namespace {

TEST(ScanCodeTable, NamedKeysReportTheirCodes) {
  const std::pair<SDL_Scancode, int> keys[] = {
      {SDL_SCANCODE_ESCAPE, 1},       {SDL_SCANCODE_1, 2},         {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_BACKSPACE, 14},   {SDL_SCANCODE_RETURN, 28},   {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_LSHIFT, 42},      {SDL_SCANCODE_RSHIFT, 54},   {SDL_SCANCODE_LALT, 56},
      {SDL_SCANCODE_SPACE, 57},       {SDL_SCANCODE_F1, 59},       {SDL_SCANCODE_F4, 62},
      {SDL_SCANCODE_F10, 68},         {SDL_SCANCODE_F12, 88},      {SDL_SCANCODE_KP_ENTER, 156},
      {SDL_SCANCODE_RCTRL, 157},      {SDL_SCANCODE_RALT, 184},    {SDL_SCANCODE_UP, 200},
      {SDL_SCANCODE_LEFT, 203},       {SDL_SCANCODE_RIGHT, 205},   {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_Q, 0x10},         {SDL_SCANCODE_Y, 0x15},      {SDL_SCANCODE_Z, 0x2C},
      {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_MUTE, 0xA0},
  };
  for (auto [scancode, code] : keys) {
    EXPECT_EQ(platform::KeyCodeForScancode(scancode), code) << SDL_GetScancodeName(scancode);
  }
  EXPECT_EQ(platform::KeyCodeForScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(platform::KeyCodeForScancode(-1), 0);
  EXPECT_EQ(platform::KeyCodeForScancode(SDL_NUM_SCANCODES), 0);
}

TEST(ScanCodeTable, EveryKeyHasItsOwnCodeAndTheWayBack) {
  std::map<int, int> owner;
  auto check = [&](int scancode) {
    int code = platform::KeyCodeForScancode(scancode);
    EXPECT_NE(code, 0) << "no code for " << SDL_GetScancodeName(SDL_Scancode(scancode));
    // The ISO key beside Return reports what the backslash key reports.
    if (scancode != SDL_SCANCODE_NONUSHASH) {
      EXPECT_TRUE(owner.emplace(code, scancode).second) << "code " << code << " twice";
      EXPECT_EQ(platform::ScancodeForKeyCode(code), scancode);
    }
  };
  for (int scancode = SDL_SCANCODE_A; scancode <= SDL_SCANCODE_F15; ++scancode) check(scancode);
  for (int scancode = SDL_SCANCODE_LCTRL; scancode <= SDL_SCANCODE_RGUI; ++scancode) {
    check(scancode);
  }
  EXPECT_EQ(platform::ScancodeForKeyCode(0), SDL_SCANCODE_UNKNOWN);
}

}  // namespace
}  // namespace qrv
