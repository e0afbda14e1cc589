// Shifted characters from the display server's keyboard layout. SDL2 tells only a key's
// plain symbol; the shifted one ('!' over '1' on one layout, '"' on another) comes from
// libxkbcommon, which reads the server's key map over SDL's own X connection and knows
// every layout, group and shift level.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib-xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/input_host.h"

namespace qrv::platform {

namespace {

// The key map of the core keyboard, fetched once and again whenever it no longer matches
// what SDL reports (the layout was switched while the program ran).
struct XkbKeyMap {
  xcb_connection_t* connection = nullptr;
  int32_t device = -1;
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;

  ~XkbKeyMap() {
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
  }

  // False when the program has no X window or the server has no XKB.
  bool Connect() {
    if (connection != nullptr) return true;
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11) {
      return false;
    }
    xcb_connection_t* xcb = XGetXCBConnection(info.info.x11.display);
    if (xcb == nullptr || !xkb_x11_setup_xkb_extension(xcb, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                       XKB_X11_MIN_MINOR_XKB_VERSION,
                                                       XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                                       nullptr, nullptr, nullptr, nullptr)) {
      return false;
    }
    device = xkb_x11_get_core_keyboard_device_id(xcb);
    context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (device < 0 || context == nullptr) return false;
    connection = xcb;
    return true;
  }

  bool Refresh() {
    xkb_keymap_unref(keymap);
    keymap =
        xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    return keymap != nullptr;
  }

  // The layout group in force on the server now; 0 when it cannot be read.
  xkb_layout_index_t Group() const {
    xkb_state* live = xkb_x11_state_new_from_device(keymap, connection, device);
    if (live == nullptr) return 0;
    xkb_layout_index_t group = xkb_state_serialize_layout(live, XKB_STATE_LAYOUT_EFFECTIVE);
    xkb_state_unref(live);
    return group;
  }

  // The character of the key in the group with Shift held or not: its Latin-1 byte, 0 for
  // a key without one (a dead key, a letter beyond Latin-1).
  char Character(xkb_keycode_t key, xkb_layout_index_t group, bool shift) const {
    xkb_state* state = xkb_state_new(keymap);
    if (state == nullptr) return 0;
    xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    xkb_mod_mask_t mods = shift && shiftIndex != XKB_MOD_INVALID ? 1u << shiftIndex : 0;
    xkb_state_update_mask(state, mods, 0, 0, 0, 0, group);
    uint32_t c = xkb_state_key_get_utf32(state, key);
    xkb_state_unref(state);
    return c >= 0x20 && c <= 0xFF && c != 0x7F ? static_cast<char>(c) : 0;
  }
};

XkbKeyMap& KeyMap() {
  static XkbKeyMap map;
  return map;
}

}  // namespace

// The server numbers the keys of the main block as the scan code plus 8. The key map's
// plain character must agree with SDL's before its shifted one is trusted; when it does
// not, the map is fetched again once (the layout may have changed). A shifted level without a
// Latin-1 character (a dead key) gives 0.
char ShiftedKeyCharacter(uint8_t code, char plain) {
  XkbKeyMap& map = KeyMap();
  if (code == 0 || code > 0x58 || !map.Connect()) return plain;
  const xkb_keycode_t key = code + 8;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if ((attempt == 1 || map.keymap == nullptr) && !map.Refresh()) return plain;
    const xkb_layout_index_t group = map.Group();
    if (map.Character(key, group, false) != plain) continue;
    return map.Character(key, group, true);
  }
  return plain;
}

}  // namespace qrv::platform
