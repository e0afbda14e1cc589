// The host side of input: SDL keyboard state through the scan-code table, the pointer and
// its wheel, joysticks with force feedback, and the keyboard layout's characters.
#pragma once

#include <cstdint>
#include <string>

#include "quorvia/input.h"
#include "quorvia/pad_codes.h"

namespace qrv::platform {

// --- Keys ------------------------------------------------------------------------------

// The key code (set-1 scan code, extended keys with 0x80) of an SDL scancode; 0 for none.
uint8_t KeyCodeForScancode(int scancode);
// The SDL scancode that reports a key code; 0 (unknown) for none.
int ScancodeForKeyCode(uint8_t code);

// Brings the host's key state up to date and, while a window of the program has the
// keyboard focus, writes it into the table (0x80 held, else 0). False without the focus:
// then the table is left as it was.
bool ReadKeyTable(uint8_t table[256]);
// The character the keyboard layout gives the key, shifted or not; 0 for none.
char KeyCharacter(uint8_t code, bool shift);
// The layout's shifted character of a key whose plain character is `plain`, read from the
// display server's key map (0 when the layout has no Latin-1 character there, as on a dead
// key); `plain` when that map cannot be had.
char ShiftedKeyCharacter(uint8_t code, char plain);
// True while Caps Lock is on.
bool CapsLockOn();

// What the host's key events said since the previous take, one byte per key code: kWentDown
// when the key went down, kCameUp when it came up, both for a tap. Auto-repeat is no new
// press. The events are noted as the host delivers them, in step with the state ReadKeyTable
// reads, so a press and release between two readings is not lost.
inline constexpr uint8_t kWentDown = 1, kCameUp = 2;
void TakeKeyEvents(uint8_t events[256]);

// --- Pointer ---------------------------------------------------------------------------

struct PointerButtons {
  bool left = false, right = false, middle = false;
};
// The pointer in client pixels of the program window (may lie outside it).
void ReadPointer(int32_t* x, int32_t* y);
PointerButtons ReadPointerButtons();
// The buttons' events since the previous take as TakeKeyEvents gives the keys', for the
// buttons left, right, middle in that order.
void TakeButtonEvents(uint8_t events[3]);
// Relative motion since the previous call (meaningful while the pointer is hidden).
void ReadRelativeMotion(int32_t* dx, int32_t* dy);
// Hidden: relative mode, no cursor. Visible: absolute mode, the arrow cursor.
void SetPointerHidden(bool hidden);
// Moves the system pointer to client pixels of the program window.
void MovePointer(int32_t x, int32_t y);
// The window shows each game pixel as scale x scale client pixels: ReadPointer and
// MovePointer speak game pixels from then on (1: the two are the same).
void SetPointerScale(int32_t scale);
// The wheel's motion since the previous call, in notches (positive away from the user).
int32_t TakeWheelMotion();

// --- Joysticks ---------------------------------------------------------------------------

// Starts the joystick, game-controller and force-feedback services and the watch on wheel
// events. SDL reads the pads' mappings of SDL_GAMECONTROLLERCONFIG and of the file
// SDL_GAMECONTROLLERCONFIG_FILE names as its joystick service starts.
bool StartInputHost();
void StopInputHost();

struct JoystickDevice;
int32_t JoystickDeviceCount();
// Null when the device cannot be opened.
JoystickDevice* OpenJoystick(int32_t index);
void CloseJoystick(JoystickDevice* device);
// "instance, product".
std::string JoystickDeviceName(JoystickDevice* device);
// Polls and fills the sample (axes -32768..32768, hats in hundredths of a degree).
bool ReadJoystickDevice(JoystickDevice* device, JoystickSample* sample);
// The device read as a pad, by the names of pad_codes.h: axes as SDL's game controller gives
// them (sticks -32768..32767, triggers 0..32767), buttons true while held.
struct PadSample {
  int16_t axes[kPadAxisCount] = {};
  bool buttons[kPadButtonCount] = {};
};
// Polls and fills the sample. False (the sample left as it was) when the device is no pad
// SDL's game-controller database knows, or it has gone.
bool ReadPadDevice(JoystickDevice* device, PadSample* sample);
// A constant force (haptic device) or rumble (no haptic device); direction -32767..32767,
// magnitude 0..10000, duration in milliseconds.
void PlayJoystickForce(JoystickDevice* device, int32_t dirX, int32_t dirY, int32_t magnitude,
                       uint32_t durationMs);

}  // namespace qrv::platform
