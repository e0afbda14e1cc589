// Shifted characters from the keyboard layout in force, through the Win32 keyboard
// services: SDL2 tells only a key's plain symbol, ToUnicodeEx gives the character of a
// key with Shift held ('!' over '1' on one layout, '"' on another).
#include <windows.h>

#include "platform/input_host.h"

namespace qrv::platform {

namespace {

// The key's character in the layout, Shift held or not: its Latin-1 byte, 0 for a key
// without one (a dead key, a letter beyond Latin-1).
char Character(UINT scanCode, HKL layout, bool shift) {
  UINT virtualKey = MapVirtualKeyExW(scanCode, MAPVK_VSC_TO_VK, layout);
  if (virtualKey == 0) return 0;
  BYTE keys[256] = {};
  if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
  wchar_t text[4] = {};
  // Flag 4: the call leaves the keyboard's dead-key state as it was.
  int count = ToUnicodeEx(virtualKey, scanCode, keys, text, 4, 4, layout);
  if (count != 1) return 0;
  wchar_t c = text[0];
  return c >= 0x20 && c <= 0xFF && c != 0x7F ? static_cast<char>(c) : 0;
}

}  // namespace

// The layout's plain character must agree with SDL's before its shifted one is trusted.
char ShiftedKeyCharacter(uint8_t code, char plain) {
  if (code == 0 || code > 0x58) return plain;
  HKL layout = GetKeyboardLayout(0);
  if (Character(code, layout, false) != plain) return plain;
  return Character(code, layout, true);
}

}  // namespace qrv::platform
