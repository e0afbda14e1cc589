// Shifted characters from the X server's key map. SDL2 tells only a key's plain symbol;
// the shifted one ('!' over '1' on one layout, '"' on another) is read from the server,
// through libX11 loaded at run time so that the runtime does not depend on it.
#include <X11/XKBlib.h>
#include <dlfcn.h>

#include "platform/input_host.h"

namespace qrv::platform {

namespace {

struct X11KeyMap {
  Display* display = nullptr;
  KeySym (*keycodeToKeysym)(Display*, KeyCode, int, int) = nullptr;
  Status (*getState)(Display*, unsigned int, XkbStatePtr) = nullptr;
};

// Looked up once; a display that cannot be had leaves the map empty for good.
const X11KeyMap& KeyMap() {
  static const X11KeyMap map = [] {
    X11KeyMap m;
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) return m;
    auto openDisplay = reinterpret_cast<Display* (*)(const char*)>(dlsym(library, "XOpenDisplay"));
    m.keycodeToKeysym = reinterpret_cast<decltype(m.keycodeToKeysym)>(
        dlsym(library, "XkbKeycodeToKeysym"));
    m.getState = reinterpret_cast<decltype(m.getState)>(dlsym(library, "XkbGetState"));
    if (openDisplay != nullptr && m.keycodeToKeysym != nullptr && m.getState != nullptr) {
      m.display = openDisplay(nullptr);
    }
    return m;
  }();
  return map;
}

// Latin-1 key symbols equal their character; Unicode ones carry it in the low bits.
char KeysymChar(KeySym symbol) {
  if ((symbol >= 0x20 && symbol <= 0x7E) || (symbol >= 0xA0 && symbol <= 0xFF)) {
    return static_cast<char>(symbol);
  }
  if ((symbol & 0xFF000000) == 0x01000000 && (symbol & 0xFFFFFF) >= 0xA0 &&
      (symbol & 0xFFFFFF) <= 0xFF) {
    return static_cast<char>(symbol & 0xFF);
  }
  return 0;
}

}  // namespace

char ShiftedKeyCharacter(uint8_t code, char plain) {
  const X11KeyMap& map = KeyMap();
  // The server numbers the keys of the main block as the scan code plus 8; the plain
  // symbol must agree with SDL's before the shifted one is trusted.
  if (map.display == nullptr || code == 0 || code > 0x58) return plain;
  XkbStateRec state{};
  int group = map.getState(map.display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
  KeyCode keycode = static_cast<KeyCode>(code + 8);
  if (KeysymChar(map.keycodeToKeysym(map.display, keycode, group, 0)) != plain) return plain;
  char shifted = KeysymChar(map.keycodeToKeysym(map.display, keycode, group, 1));
  return shifted != 0 ? shifted : plain;
}

}  // namespace qrv::platform
