// Keyboard and pointer on SDL: the key state read through the scan-code table, the key and
// button events between readings, the layout's characters, the pointer in client pixels,
// relative mode and the wheel.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/input_host.h"
#include "platform/sdl_subsystems.h"
#include "platform/window_host.h"

namespace qrv::platform {

namespace {

int32_t wheelMotion = 0;

// Key and button events since the last take (kWentDown, kCameUp). SDL calls the watch as it
// queues each event, inside the same pump that changes the state it reports; events other
// threads queue come through it too, hence atomics.
std::atomic<uint8_t> keyEvents[256];
std::atomic<uint8_t> buttonEvents[3];

// Buttons 1, 2, 3 are left, right, middle, as the mouse commands number them; -1 for others.
int ButtonIndex(Uint8 button) {
  if (button == SDL_BUTTON_LEFT) return 0;
  if (button == SDL_BUTTON_RIGHT) return 1;
  return button == SDL_BUTTON_MIDDLE ? 2 : -1;
}

int SDLCALL NoteKeysAndButtons(void*, SDL_Event* event) {
  if (event->type == SDL_KEYDOWN || event->type == SDL_KEYUP) {
    uint8_t code = KeyCodeForScancode(event->key.keysym.scancode);
    if (code != 0 && event->key.repeat == 0) {
      keyEvents[code] |= event->type == SDL_KEYDOWN ? kWentDown : kCameUp;
    }
  } else if (event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) {
    int index = ButtonIndex(event->button.button);
    if (index >= 0) buttonEvents[index] |= event->type == SDL_MOUSEBUTTONDOWN ? kWentDown : kCameUp;
  }
  return 1;
}

// The program has one window: the one holding the GL context, else the focused one.
SDL_Window* ProgramWindow() {
  if (SDL_Window* window = SDL_GL_GetCurrentWindow()) return window;
  if (SDL_Window* window = SDL_GetKeyboardFocus()) return window;
  return SDL_GetMouseFocus();
}

struct KeypadChar {
  SDL_Scancode scancode;
  char c;
  bool needsNumLock;
};

// SDL names keypad keys by function, not by character; the characters are fixed.
constexpr KeypadChar kKeypadChars[] = {
    {SDL_SCANCODE_KP_DIVIDE, '/', false}, {SDL_SCANCODE_KP_MULTIPLY, '*', false},
    {SDL_SCANCODE_KP_MINUS, '-', false},  {SDL_SCANCODE_KP_PLUS, '+', false},
    {SDL_SCANCODE_KP_EQUALS, '=', false}, {SDL_SCANCODE_KP_COMMA, ',', false},
    {SDL_SCANCODE_KP_PERIOD, '.', true},  {SDL_SCANCODE_KP_0, '0', true},
    {SDL_SCANCODE_KP_1, '1', true},       {SDL_SCANCODE_KP_2, '2', true},
    {SDL_SCANCODE_KP_3, '3', true},       {SDL_SCANCODE_KP_4, '4', true},
    {SDL_SCANCODE_KP_5, '5', true},       {SDL_SCANCODE_KP_6, '6', true},
    {SDL_SCANCODE_KP_7, '7', true},       {SDL_SCANCODE_KP_8, '8', true},
    {SDL_SCANCODE_KP_9, '9', true},
};

// Key symbols are Unicode; the runtime's texts are bytes in the Latin-1 range.
char SymbolChar(SDL_Keycode key) {
  return key >= 32 && key < 256 && key != 127 ? static_cast<char>(key) : 0;
}

}  // namespace

// The focus is asked after pumping: the same pump that takes the focus away also lets
// every held key go, and the table must keep those keys.
bool ReadKeyTable(uint8_t table[256]) {
  SDL_PumpEvents();
  if (SDL_GetKeyboardFocus() == nullptr) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int i = 0; i < 256; ++i) table[i] = 0;
  for (int scancode = 0; scancode < count; ++scancode) {
    uint8_t code = KeyCodeForScancode(scancode);
    if (state[scancode] && code != 0) table[code] = 0x80;
  }
  return true;
}

char KeyCharacter(uint8_t code, bool shift) {
  SDL_Scancode scancode = static_cast<SDL_Scancode>(ScancodeForKeyCode(code));
  if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
  for (const KeypadChar& keypad : kKeypadChars) {
    if (keypad.scancode != scancode) continue;
    return !keypad.needsNumLock || (SDL_GetModState() & KMOD_NUM) ? keypad.c : 0;
  }
  char plain = SymbolChar(SDL_GetKeyFromScancode(scancode));
  if (!shift || plain == 0) return plain;
  if (plain >= 'a' && plain <= 'z') return static_cast<char>(plain - 32);
  return ShiftedKeyCharacter(code, plain);
}

void TakeKeyEvents(uint8_t events[256]) {
  for (int code = 0; code < 256; ++code) events[code] = keyEvents[code].exchange(0);
}

bool CapsLockOn() {
  return (SDL_GetModState() & KMOD_CAPS) != 0;
}

// Client pixels per game pixel, set when the window is scaled.
static int32_t pointerScale = 1;

void SetPointerScale(int32_t scale) {
  pointerScale = scale > 1 ? scale : 1;
}

// Rounds towards minus infinity, so that a pointer left of the window stays negative.
static int32_t FloorDivide(int32_t value, int32_t divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// Inside the window the window's own pointer events are exact; outside it, the desktop's
// pointer is asked (which the host may report only as often as the pointer device moves).
void ReadPointer(int32_t* x, int32_t* y) {
  SDL_PumpEvents();
  int px = 0, py = 0, wx = 0, wy = 0;
  if (SDL_GetMouseFocus() != nullptr) {
    SDL_GetMouseState(&px, &py);
  } else {
    SDL_GetGlobalMouseState(&px, &py);
    if (SDL_Window* window = ProgramWindow()) SDL_GetWindowPosition(window, &wx, &wy);
  }
  *x = FloorDivide(px - wx, pointerScale);
  *y = FloorDivide(py - wy, pointerScale);
}

PointerButtons ReadPointerButtons() {
  SDL_PumpEvents();
  Uint32 mask = SDL_GetMouseFocus() != nullptr ? SDL_GetMouseState(nullptr, nullptr)
                                               : SDL_GetGlobalMouseState(nullptr, nullptr);
  return {(mask & SDL_BUTTON_LMASK) != 0, (mask & SDL_BUTTON_RMASK) != 0,
          (mask & SDL_BUTTON_MMASK) != 0};
}

void TakeButtonEvents(uint8_t events[3]) {
  for (int index = 0; index < 3; ++index) events[index] = buttonEvents[index].exchange(0);
}

void ReadRelativeMotion(int32_t* dx, int32_t* dy) {
  SDL_PumpEvents();
  int x = 0, y = 0;
  SDL_GetRelativeMouseState(&x, &y);
  *dx = x;
  *dy = y;
}

void SetPointerHidden(bool hidden) {
  SDL_SetRelativeMouseMode(hidden ? SDL_TRUE : SDL_FALSE);
  SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
  // Motion from before the switch belongs to the other mode.
  SDL_GetRelativeMouseState(nullptr, nullptr);
}

void MovePointer(int32_t x, int32_t y) {
  // The middle of the game pixel, widened: the caller's numbers may be anything.
  const int64_t half = pointerScale / 2;
  const auto client = [half](int32_t v) {
    return int(std::clamp<int64_t>(int64_t(v) * pointerScale + half, INT32_MIN, INT32_MAX));
  };
  if (SDL_Window* window = ProgramWindow()) SDL_WarpMouseInWindow(window, client(x), client(y));
}

int32_t TakeWheelMotion() {
  int32_t motion = wheelMotion;
  wheelMotion = 0;
  return motion;
}

// The frame's pump hands over every event it takes; the wheel comes only as events.
static void WatchWheel(const void* hostEvent) {
  const SDL_Event* event = static_cast<const SDL_Event*>(hostEvent);
  if (event->type != SDL_MOUSEWHEEL) return;
  int32_t notches = event->wheel.y;
  if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
  wheelMotion = std::clamp(wheelMotion + notches, -1000000, 1000000);
}

bool StartInputHost() {
  // The key and button events are noted whatever becomes of the joysticks; once only.
  SDL_DelEventWatch(NoteKeysAndButtons, nullptr);
  SDL_AddEventWatch(NoteKeysAndButtons, nullptr);
  for (std::atomic<uint8_t>& events : keyEvents) events = 0;
  for (std::atomic<uint8_t>& events : buttonEvents) events = 0;
  if (!StartSdlSubsystems(SDL_INIT_JOYSTICK)) return false;
  // Force feedback is optional: without it, forces become rumble. So are pads by name.
  StartSdlSubsystems(SDL_INIT_HAPTIC);
  StartSdlSubsystems(SDL_INIT_GAMECONTROLLER);
  static bool listening = false;
  if (!listening) AddEventListener(WatchWheel);
  listening = true;
  wheelMotion = 0;
  return true;
}

void StopInputHost() {
  SDL_DelEventWatch(NoteKeysAndButtons, nullptr);
  if (SDL_WasInit(SDL_INIT_HAPTIC)) StopSdlSubsystems(SDL_INIT_HAPTIC);
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) StopSdlSubsystems(SDL_INIT_GAMECONTROLLER);
  StopSdlSubsystems(SDL_INIT_JOYSTICK);
}

}  // namespace qrv::platform
