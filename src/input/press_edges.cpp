// Key and button edges (KeyHit, KeyReleased, MouseHit): present's sample of what went down
// and came up since the previous present. The answers stay the same until the next present.
#include "input/press_edges.h"

#include <bitset>

#include "input/input_state.h"
#include "platform/input_host.h"

namespace qrv {

namespace {

// The taps among the host's events since the last take (one byte per key or button).
template <size_t N>
std::bitset<N> HostTaps(const uint8_t (&events)[N]) {
  std::bitset<N> wentDown, cameUp;
  for (size_t i = 0; i < N; ++i) {
    wentDown.set(i, (events[i] & platform::kWentDown) != 0);
    cameUp.set(i, (events[i] & platform::kCameUp) != 0);
  }
  return PressEdges<N>::Taps(wentDown, cameUp);
}

// The buttons are always the host's: a replay carries only the keys.
void SampleButtonEdges(InputState& input) {
  const platform::PointerButtons buttons = platform::ReadPointerButtons();
  uint8_t events[3];
  platform::TakeButtonEvents(events);
  std::bitset<3> held;
  held.set(0, buttons.left);
  held.set(1, buttons.right);
  held.set(2, buttons.middle);
  input.buttonEdges.Sample(held, HostTaps(events));
}

// Asking for an edge takes the window's messages as every reading does, so a program that
// waits for one without presenting still ends on a close request; the answer stays the
// sample's.
const InputState* ReadEdges() {
  InputState* input = TheInput();
  if (input != nullptr) TakeWindowMessages();
  return input;
}

}  // namespace

// The host's key events are taken right after the table was read, with no pump between: the
// two agree on every event up to that moment.
HeldKeys SampleEdges(InputState& input) {
  HeldKeys taps;
  if (input.replay) {
    taps = input.replay->TapsAt(input.presentNumber);
  } else {
    uint8_t events[256];
    platform::TakeKeyEvents(events);
    taps = HostTaps(events);
  }
  input.keyEdges.Sample(HeldIn(input.keys), taps);
  SampleButtonEdges(input);
  return taps;
}

int32_t KeyHit(int32_t code) {
  const InputState* input = ReadEdges();
  return input != nullptr && input->keyEdges.Hit(code & 0xFF) ? 1 : 0;
}

int32_t KeyReleased(int32_t code) {
  const InputState* input = ReadEdges();
  return input != nullptr && input->keyEdges.Released(code & 0xFF) ? 1 : 0;
}

int32_t MouseHit(int32_t button) {
  const InputState* input = ReadEdges();
  if (input == nullptr || button < 1 || button > 3) return 0;
  return input->buttonEdges.Hit(static_cast<size_t>(button - 1)) ? 1 : 0;
}

}  // namespace qrv
