// The blocking waits. They keep the window alive by pumping its messages, apply present's
// program-ending key check, and return on the input they wait for.
#include <cmath>

#include "frame/runtime.h"
#include "input/input_state.h"
#include "platform/platform.h"
#include "quorvia/sound.h"

namespace qrv {

namespace {

// Marks a wait in progress: its keyboard readings are neither counted nor recorded.
class WaitScope {
 public:
  explicit WaitScope(InputState& input) : input_(input) { ++input_.waitDepth; }
  ~WaitScope() { --input_.waitDepth; }
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  InputState& input_;
};

// The waits keep the music repeating and the window answering while they wait.
void PumpWindow() {
  MusicLoopCheck();
  TakeWindowMessages();
}

struct PointerNote {
  int32_t x, y;
  int16_t button1, button2;
  bool operator==(const PointerNote&) const = default;
};

PointerNote NotePointer(const InputState& input, const MouseSample& sample) {
  PointerNote note{0, 0, sample.button1, sample.button2};
  ReportedPointer(input, &note.x, &note.y);
  return note;
}

bool AnyKeyHeld(const InputState& input) {
  for (uint8_t key : input.keys) {
    if (key & 0x80) return true;
  }
  return false;
}

bool JoystickActive(int32_t index) {
  JoystickSample sample;
  ReadJoystick(&sample, index);
  for (uint8_t button : sample.buttons) {
    if (button != 0) return true;
  }
  return std::abs(JoystickX(index)) > 0.1 || std::abs(JoystickY(index)) > 0.1 ||
         std::abs(JoystickZ(index)) > 0.1 || JoystickHatX(index) != 0 || JoystickHatY(index) != 0;
}

// The three phases of a wait for a press: until nothing is pressed, then until something
// is, then until it is let go. A replay has nobody at the keys: it passes straight through.
template <class Pressed>
void WaitForPress(Pressed pressed) {
  InputState* input = TheInput();
  if (input == nullptr) return;
  WaitScope scope(*input);
  PumpWindow();
  if (input->replay) return;
  auto idle = [] {
    PumpWindow();
    platform::SleepMilliseconds(1);
  };
  while (pressed()) idle();
  do {
    PumpWindow();
    WaitForInputActivity();
  } while (!pressed());
  while (pressed()) idle();
}

}  // namespace

void WaitForInputActivity() {
  InputState* input = TheInput();
  if (input == nullptr) return;
  WaitScope scope(*input);
  MouseSample sample;
  SampleMouse(&sample);
  const PointerNote noted = NotePointer(*input, sample);
  const int passes = input->replay ? 1 : 15;
  for (int pass = 0; pass < passes; ++pass) {
    PumpWindow();
    SampleKeyboard();
    input->freshMouse = true;
    CheckEndingKeys();
    if (AnyKeyHeld(*input)) return;
    SampleMouse(&sample);
    if (!(NotePointer(*input, sample) == noted)) return;
    for (int32_t index = input->joystickCount - 1; index >= 0; --index) {
      if (JoystickActive(index)) return;
    }
    platform::SleepMilliseconds(5);
  }
}

void WaitForKey() {
  WaitForPress([] { return !ReadKeyChar().Empty(); });
}

void WaitForMouseButton() {
  WaitForPress(AnyMouseButton);
}

}  // namespace qrv
