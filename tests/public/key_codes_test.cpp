// The key names and the colour helpers of the public headers. The names must give the very
// codes that the host's key table reports for those keys.
#include "quorvia/key_codes.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include "platform/input_host.h"
#include "quorvia/colour.h"

namespace {

TEST(KeyNames, AgreeWithTheHostKeyTable) {
  struct Named {
    int32_t name;
    SDL_Scancode scancode;
  };
  const Named keys[] = {
      {qrv::kKeyEscape, SDL_SCANCODE_ESCAPE},
      {qrv::kKey1, SDL_SCANCODE_1},
      {qrv::kKey0, SDL_SCANCODE_0},
      {qrv::kKeyBackspace, SDL_SCANCODE_BACKSPACE},
      {qrv::kKeyTab, SDL_SCANCODE_TAB},
      {qrv::kKeyQ, SDL_SCANCODE_Q},
      {qrv::kKeyP, SDL_SCANCODE_P},
      {qrv::kKeyReturn, SDL_SCANCODE_RETURN},
      {qrv::kKeyLeftControl, SDL_SCANCODE_LCTRL},
      {qrv::kKeyA, SDL_SCANCODE_A},
      {qrv::kKeyL, SDL_SCANCODE_L},
      {qrv::kKeyGrave, SDL_SCANCODE_GRAVE},
      {qrv::kKeyLeftShift, SDL_SCANCODE_LSHIFT},
      {qrv::kKeyZ, SDL_SCANCODE_Z},
      {qrv::kKeyM, SDL_SCANCODE_M},
      {qrv::kKeySlash, SDL_SCANCODE_SLASH},
      {qrv::kKeyRightShift, SDL_SCANCODE_RSHIFT},
      {qrv::kKeyLeftAlt, SDL_SCANCODE_LALT},
      {qrv::kKeySpace, SDL_SCANCODE_SPACE},
      {qrv::kKeyCapsLock, SDL_SCANCODE_CAPSLOCK},
      {qrv::kKeyF1, SDL_SCANCODE_F1},
      {qrv::kKeyF10, SDL_SCANCODE_F10},
      {qrv::kKeyF11, SDL_SCANCODE_F11},
      {qrv::kKeyF12, SDL_SCANCODE_F12},
      {qrv::kKeyNumLock, SDL_SCANCODE_NUMLOCKCLEAR},
      {qrv::kKeyPad7, SDL_SCANCODE_KP_7},
      {qrv::kKeyPad0, SDL_SCANCODE_KP_0},
      {qrv::kKeyPadEnter, SDL_SCANCODE_KP_ENTER},
      {qrv::kKeyPadDivide, SDL_SCANCODE_KP_DIVIDE},
      {qrv::kKeyRightControl, SDL_SCANCODE_RCTRL},
      {qrv::kKeyRightAlt, SDL_SCANCODE_RALT},
      {qrv::kKeyHome, SDL_SCANCODE_HOME},
      {qrv::kKeyUp, SDL_SCANCODE_UP},
      {qrv::kKeyLeft, SDL_SCANCODE_LEFT},
      {qrv::kKeyRight, SDL_SCANCODE_RIGHT},
      {qrv::kKeyDown, SDL_SCANCODE_DOWN},
      {qrv::kKeyEnd, SDL_SCANCODE_END},
      {qrv::kKeyPageDown, SDL_SCANCODE_PAGEDOWN},
      {qrv::kKeyDelete, SDL_SCANCODE_DELETE},
      {qrv::kKeyMenu, SDL_SCANCODE_APPLICATION},
  };
  for (const Named& key : keys) {
    EXPECT_EQ(key.name, qrv::platform::KeyCodeForScancode(key.scancode))
        << "scancode " << key.scancode;
  }
}

TEST(Colours, PartsLandInTheirBitsAndAreClamped) {
  EXPECT_EQ(qrv::Rgb(0x11, 0x22, 0x33), 0x332211);
  EXPECT_EQ(qrv::Rgb(300, -5, 255), 0xFF00FF);
  EXPECT_EQ(uint32_t(qrv::Rgba(1, 2, 3, 255)), 0xFF030201u);
  const int32_t c = qrv::Rgba(10, 20, 30, 40);
  EXPECT_EQ(qrv::RedOf(c), 10);
  EXPECT_EQ(qrv::GreenOf(c), 20);
  EXPECT_EQ(qrv::BlueOf(c), 30);
  EXPECT_EQ(qrv::AlphaOf(qrv::Rgba(0, 0, 0, 200)), 200);
}

}  // namespace
