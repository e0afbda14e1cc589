// The key table and what is read from it: KeyDown, the present's sampling step, and the
// character reader with the layout's translation of scan codes.
#include <cctype>

#include "input/input_state.h"
#include "platform/input_host.h"
#include "quorvia/frame.h"

namespace qrv {

namespace {

constexpr uint8_t kLeftShift = 42, kRightShift = 54;

// A window without focus keeps the table it had: a key held when focus went stays held.
void SampleLive(InputState& input) {
  platform::ReadKeyTable(input.keys);
}

bool ShiftHeld(const InputState& input) {
  return ((input.keys[kLeftShift] | input.keys[kRightShift]) & 0x80) != 0;
}

}  // namespace

// Every reading looks at the keyboard (or the replay) again. A recording writes down each
// change the program saw, with the reading's place since the last present, so a replay
// answers every reading alike. Readings inside the blocking waits are not counted: a
// replay passes the waits at once.
void SampleKeyboard() {
  InputState* input = TheInput();
  if (input == nullptr) return;
  TakeWindowMessages();
  if (input->waitDepth == 0) ++input->keyReading;
  if (input->replay) {
    ApplyReplay(*input);
    return;
  }
  // Reading the host's key table takes the host's messages too: in a burst of readings it
  // is read again once it is a millisecond old.
  const double now = RawTimer();
  if (input->keyTableTime < 0 || now < input->keyTableTime || now - input->keyTableTime >= 1.0) {
    input->keyTableTime = now;
    SampleLive(*input);
  }
  if (input->record != nullptr && input->waitDepth == 0) RecordKeys(*input);
}

void SampleFrameInput() {
  InputState* input = TheInput();
  if (input == nullptr) return;
  ++input->presentNumber;
  input->keyReading = 0;
  if (input->replay) {
    ApplyReplay(*input);
  } else {
    SampleLive(*input);
  }
  const HeldKeys taps = SampleEdges(*input);
  if (input->record != nullptr) RecordKeys(*input, taps);
  input->freshMouse = true;
}

int32_t KeyDown(int32_t code) {
  InputState* input = TheInput();
  if (input == nullptr) return 0;
  SampleKeyboard();
  return (input->keys[code & 0xFF] & 0x80) != 0 ? 1 : 0;
}

char ScanCodeToChar(int32_t code) {
  uint8_t key = static_cast<uint8_t>(code & 0xFF);
  switch (key) {
    case 42:
    case 54:
    case 29:
    case 56:
    case 58:
    case 69:
    case 221:  // modifiers, locks, Apps
      return 0;
    case 28:
    case 156:  // Return, keypad Enter
      return 10;
    case 14:  // Backspace
      return 8;
  }
  InputState* input = TheInput();
  bool shift = input != nullptr && ShiftHeld(*input);
  char c = platform::KeyCharacter(key, shift);
  // Caps Lock is host state a replay cannot carry, so a replay never sees it.
  bool caps = (input == nullptr || !input->replay) && platform::CapsLockOn();
  if (caps && std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
  unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 31 && byte != 8 && byte != 10 ? 0 : c;
}

RtString ReadKeyChar() {
  InputState* input = TheInput();
  if (input == nullptr) return RtString();
  SampleKeyboard();
  char c = 0;
  for (int code = 0; code < 255 && c == 0; ++code) {
    if (input->keys[code] & 0x80) c = ScanCodeToChar(code);
  }
  char compare = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  if (c >= 'a' && c <= 'z' && ShiftHeld(*input)) c = static_cast<char>(c - 32);
  if (compare == input->lastKeyChar) return RtString();
  input->lastKeyChar = compare;
  return c == 0 ? RtString() : RtString(&c, 1);
}

}  // namespace qrv
