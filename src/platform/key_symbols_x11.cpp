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
  KeySym* (*getMapping)(Display*, KeyCode, int, int*) = nullptr;
  int (*free)(void*) = nullptr;
  Status (*getState)(Display*, unsigned int, XkbStatePtr) = nullptr;
};

// Looked up once; a display that cannot be had leaves the map empty for good.
const X11KeyMap& KeyMap() {
  static const X11KeyMap map = [] {
    X11KeyMap m;
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) return m;
    auto openDisplay = reinterpret_cast<Display* (*)(const char*)>(dlsym(library, "XOpenDisplay"));
    m.getMapping =
        reinterpret_cast<decltype(m.getMapping)>(dlsym(library, "XGetKeyboardMapping"));
    m.free = reinterpret_cast<decltype(m.free)>(dlsym(library, "XFree"));
    m.getState = reinterpret_cast<decltype(m.getState)>(dlsym(library, "XkbGetState"));
    if (openDisplay != nullptr && m.getMapping != nullptr && m.free != nullptr &&
        m.getState != nullptr) {
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

// Asked of the server on every call, never cached, so that a layout switched while the
// program runs is seen at once.
char ShiftedKeyCharacter(uint8_t code, char plain) {
  const X11KeyMap& map = KeyMap();
  // The server numbers the keys of the main block as the scan code plus 8; the plain
  // symbol must agree with SDL's before the shifted one is trusted.
  if (map.display == nullptr || code == 0 || code > 0x58) return plain;
  XkbStateRec state{};
  int group = map.getState(map.display, XkbUseCoreKbd, &state) == Success ? state.group : 0;
  int perKey = 0;
  KeySym* symbols = map.getMapping(map.display, static_cast<KeyCode>(code + 8), 1, &perKey);
  if (symbols == nullptr) return plain;
  // Each group holds a plain and a shifted column; a group without its own falls back to
  // the first.
  int column = 2 * group + 1 < perKey && symbols[2 * group] != NoSymbol ? 2 * group : 0;
  char shifted = 0;
  if (column + 1 < perKey && KeysymChar(symbols[column]) == plain) {
    shifted = KeysymChar(symbols[column + 1]);
  }
  map.free(symbols);
  return shifted != 0 ? shifted : plain;
}

}  // namespace qrv::platform
