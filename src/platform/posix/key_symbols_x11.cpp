// Shifted characters from the display server's keyboard layout. SDL2 tells only a key's
// plain symbol; the shifted one ('!' over '1' on one layout, '"' on another) comes from
// libxkbcommon, which reads the server's key map and knows every layout, group and shift
// level. It talks to the server over a connection of its own, so that it answers before the
// program has a window too.
#include <xcb/xcb.h>
// xcb's XKB header names a member "explicit", a keyword of C++.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

#include "platform/input_host.h"

namespace qrv::platform {

namespace {

// The key map of the core keyboard, fetched once and again whenever the server announces a
// new one (a layout switched while the program runs).
struct XkbKeyMap {
  bool tried = false;
  xcb_connection_t* connection = nullptr;
  int32_t device = -1;
  xkb_context* context = nullptr;
  xkb_keymap* keymap = nullptr;

  ~XkbKeyMap() {
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    if (connection != nullptr) xcb_disconnect(connection);
  }

  // Tried once; false for good when there is no X server or it has no XKB.
  bool Connect() {
    if (tried) return context != nullptr;
    tried = true;
    connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0 ||
        !xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
      return false;
    }
    device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0) return false;
    // The only events this connection receives: a new keyboard or a changed key map.
    const uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    const uint16_t parts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                           XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                           XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                           XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events(connection, device, events, 0, events, parts, parts, nullptr);
    context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    return context != nullptr;
  }

  // True when the server has announced a key map change since the last call. Call it after
  // a round trip, so that every change made before it has arrived.
  bool MapChanged() {
    bool changed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      changed = true;
      std::free(event);
    }
    return changed;
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
// plain character must agree with SDL's before its shifted one is trusted. A shifted level
// without a Latin-1 character (a dead key) gives 0.
char ShiftedKeyCharacter(uint8_t code, char plain) {
  XkbKeyMap& map = KeyMap();
  if (code == 0 || code > 0x58 || !map.Connect()) return plain;
  if (map.keymap == nullptr && !map.Refresh()) return plain;
  xkb_layout_index_t group = map.Group();  // a round trip: announced changes are in
  if (map.MapChanged()) {
    if (!map.Refresh()) return plain;
    group = map.Group();
  }
  const xkb_keycode_t key = code + 8;
  if (map.Character(key, group, false) != plain) return plain;
  return map.Character(key, group, true);
}

}  // namespace qrv::platform
