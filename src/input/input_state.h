// The input object: the key table, the tracked pointer, the joystick slots, and the replay
// or recording that may stand in for the keyboard. One exists per process (the Runtime's).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "input/press_edges.h"
#include "input/replay_script.h"
#include "quorvia/input.h"

namespace qrv {

namespace platform {
struct JoystickDevice;
}

class InputState {
 public:
  // Tracked pointer position in client pixels.
  int32_t pointerX = 100;
  int32_t pointerY = 100;
  int32_t selectedMouse = 0;
  platform::JoystickDevice* joysticks[kMaxJoysticks] = {};
  std::string joystickNames[kMaxJoysticks];
  // One byte per scan code; bit 7 set means held.
  uint8_t keys[256] = {};
  // The edges of the last present's sample: the keys by scan code, the mouse buttons 1, 2, 3
  // at 0, 1, 2.
  PressEdges<256> keyEdges;
  PressEdges<3> buttonEdges;
  bool pointerVisible = false;
  int32_t joystickCount = 0;
  // Set once per frame: the next mouse reading computes new motion.
  bool freshMouse = true;
  int16_t cachedDx = 0, cachedDy = 0, cachedWheel = 0;
  // The lower-cased character ReadKeyChar returned last (0: none).
  char lastKeyChar = 0;
  bool hostStarted = false;

  // Presents completed, and keyboard readings since the last one; the replay and the
  // recording are keyed on both.
  int64_t presentNumber = 0;
  int64_t keyReading = 0;
  double keyTableTime = -1;  // raw timer ms of the last reading of the host's key table
  std::unique_ptr<ReplayScript> replay;
  std::FILE* record = nullptr;
  HeldKeys recordedKeys;
  // Blocking waits in progress: their readings are neither counted nor recorded.
  int32_t waitDepth = 0;
};

// The runtime's input object; null before start-up made it.
InputState* TheInput();

// The keys the table holds.
HeldKeys HeldIn(const uint8_t keys[256]);

// The screen the pointer moves on: the device's size and whether the display is turned
// a quarter turn (which turns the pointer and the joystick's X and Y with it).
struct ScreenShape {
  int32_t width, height;
  bool turned;
};
ScreenShape TheScreen();

// Takes the window's waiting messages, as present does: a program that polls its input
// without presenting still ends on a close request or a termination signal. At most once
// a millisecond: bursts of readings do not take them again each time.
void TakeWindowMessages();

// The tracked pointer as the game sees it: turned with a turned display (mouse.cpp).
void ReportedPointer(const InputState& input, int32_t* x, int32_t* y);

// Present's edges of the keys (from the key table just sampled and the taps since the
// previous present: the host's events, or the replay's marks) and of the mouse buttons
// (press_edges.cpp). Returns the key taps, for the recording.
HeldKeys SampleEdges(InputState& input);

// Replay and recording (replay_session.cpp). RecordKeys writes the key table when it
// changed, and at a present also when keys were tapped.
void StartReplayAndRecord(InputState& input);
void StopRecording(InputState& input);
void ApplyReplay(InputState& input);
void RecordKeys(InputState& input, const HeldKeys& taps = HeldKeys());

}  // namespace qrv
