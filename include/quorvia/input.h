// Input: keyboard, mouse and joysticks, and the blocking waits.
//
// Keys are set-1 scan codes (1 Escape, 28 Return, 42/54 left/right Shift, 56 left Alt,
// 62 F4, 200/203/205/208 cursor keys; extended keys have 0x80 set), whatever the layout.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

// One mouse reading: buttons 0/1, motion of the frame, wheel -1/0/1.
struct MouseSample {
  int16_t button1 = 0, button2 = 0, button3 = 0;
  int16_t dx = 0, dy = 0, wheel = 0;
};

// One joystick reading in the standard 80-byte layout: axes -32768..32768, hats in
// hundredths of a degree clockwise from up (0xFFFFFFFF centred), buttons nonzero = pressed.
struct JoystickSample {
  int32_t x = 0, y = 0, z = 0, rx = 0, ry = 0, rz = 0;
  int32_t sliders[2] = {0, 0};
  uint32_t hats[4] = {0, 0, 0, 0};
  uint8_t buttons[32] = {};
};
static_assert(sizeof(JoystickSample) == 80);

inline constexpr int32_t kMaxJoysticks = 10;

// --- Life cycle (start-up, present and shutdown call these) -------------------------------

// Creates the one input object.
void CreateInput();
// Starts the host's input devices (keys, joysticks); start-up does this early, before the
// sound device opens on its thread, so that the two never start beside each other.
void StartInputDevices();
// Set-up once the program window exists (starting the devices if not started yet); the
// exclusive mouse hides the pointer. Returns 1. Reads QRV_REPLAY and QRV_RECORD.
int32_t InitInput(bool exclusiveMouse);
// Releases the devices and the input object.
void ShutdownInput();
// Present's input step: counts the present, refreshes the key table (from the replay
// script when one runs, recording it when asked) and marks the mouse reading fresh.
void SampleFrameInput();
// The next mouse reading computes new motion (as after a present).
void MarkMouseFresh();
// Puts the mouse pointer set-up the input object records (shown or hidden) on the
// current window again, after the window changed.
void ReapplySystemPointer();

// --- Keyboard --------------------------------------------------------------------------

// Refreshes the key table; keeps it while the program window is not focused.
void SampleKeyboard();
// 1 while the key is held (only the low 8 bits of the code count), else 0.
int32_t KeyDown(int32_t code);
// Key edges, answered from present's sample (only the low 8 bits of the code count):
// KeyHit is 1 in the frame after a present whose sample saw the key go down since the
// previous present's sample, KeyReleased the same for coming up. A press and release that
// both fall between two samples (a tap) makes both 1 in the same frame. Every call until
// the next present answers alike: reading does not use an edge up. Auto-repeat is no new
// press; before the first present both are 0. A replay's and a recording's (QRV_REPLAY,
// QRV_RECORD) edges are exact: taps are written down as *CODE (docs/replay.md).
int32_t KeyHit(int32_t code);
int32_t KeyReleased(int32_t code);
// The character of a newly held key, once per press; empty otherwise.
RtString ReadKeyChar();
// The character the keyboard layout gives a scan code with the current Shift state; 0 none.
char ScanCodeToChar(int32_t code);

// --- Mouse -------------------------------------------------------------------------------

// False only when the mouse cannot be read.
bool SampleMouse(MouseSample* sample);
// The tracked position clamped to the screen, and buttons 1 and 2 as 0/1.
void MouseState(int32_t* x, int32_t* y, int32_t* button1, int32_t* button2);
void MouseState(double* x, double* y, double* button1, double* button2);
// 0 dx, 1 dy, 2 wheel, 3/4/5 buttons 1/2/3; anything else 0.
int32_t MouseAxis(int32_t axis);
// Moves the tracked position only; the system pointer stays where it is.
void SetMousePosition(int32_t x, int32_t y);
// Visible: the arrow follows the system pointer. Hidden: motion is integrated.
void ShowSystemPointer(double flag);
int32_t MouseCount();
void SelectMouse(int32_t n);
bool AnyMouseButton();
// KeyHit for mouse buttons 1, 2, 3 (left, right, middle, as MouseState and MouseAxis number
// them); anything else 0. The mouse stays live during a replay, and so does this.
int32_t MouseHit(int32_t button);

// --- Joysticks ---------------------------------------------------------------------------

int32_t JoystickCount();
RtString JoystickName(int32_t index);
// Fills the sample (all zero for an index without a device). Returns 1.
int32_t ReadJoystick(JoystickSample* sample, int32_t index);
// Axes divided by 32767 and clamped to -1..1.
double JoystickX(int32_t index);
double JoystickY(int32_t index);
double JoystickZ(int32_t index);
double JoystickRX(int32_t index);
double JoystickRY(int32_t index);
double JoystickRZ(int32_t index);
// Hat 0 as -1, 0, 1 (X right positive, Y down positive).
double JoystickHatX(int32_t index);
double JoystickHatY(int32_t index);
// The raw button byte; 0 for buttons beyond 31.
int32_t JoystickButton(int32_t index, int32_t button);
// Joystick 0: x, y as whole thirty-thousandths of the axis, buttons 0 and 1 raw.
void JoystickState(double* x, double* y, double* button1, double* button2);
// A constant force along (x, y) for `duration` milliseconds; rumble without haptics.
void JoystickForce(int32_t index, double duration, double x, double y);

// --- Pads: joysticks read by name ------------------------------------------------------
// A joystick that SDL's game-controller database knows (its own compiled-in list, the
// mappings in the SDL_GAMECONTROLLERCONFIG variable and the file SDL_GAMECONTROLLERCONFIG_FILE
// names, both read at start-up) is also a pad: its buttons and axes can be read by the
// names of pad_codes.h, whatever raw numbers the device gives them. The pad number is the
// joystick's index, as JoystickX takes it. Like the joystick readings, pads are read live at
// each call and stay live during a replay. A number without a joystick, a joystick the
// database does not know, and a name outside pad_codes.h all answer 0.

// 1 while the button (kPadSouth .. kPadDpadRight) is held, else 0.
int32_t PadButton(int32_t pad, int32_t button);
// The axis (kPadLeftX .. kPadRightTrigger) on JoystickX's scale: the sticks -1..1 (X right
// and Y down positive; turned with a turned display as JoystickX and JoystickY are), the
// triggers 0 (released) .. 1 (fully pressed).
double PadAxis(int32_t pad, int32_t axis);

// --- Waits -------------------------------------------------------------------------------

// Block until a key character is typed (and released) / a mouse button is clicked.
void WaitForKey();
void WaitForMouseButton();
// Returns on any key, pointer motion or button, joystick activity, or after 15 short passes.
void WaitForInputActivity();

}  // namespace qrv
