// Replay scripts: which scan codes are held from which moment on, and which were tapped
// (went down and up) since the previous present. A moment is a present number, optionally
// with the count of keyboard readings the program made since that present ("FRAME:READING").
// The text form is lines "FRAME[:READING] KEY KEY ... *KEY ..." with numbers in decimal, each
// KEY a scan code or a name of key_codes.h ("Right", "kKeyRight"), a '*' before a key marking
// a tap (on a present's line only), '#' starting a comment; QRV_REPLAY reads it and
// QRV_RECORD writes it (with codes).
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// The set of scan codes held at one moment.
using HeldKeys = std::bitset<256>;

// A present number and the keyboard readings made since it; ordered by both.
struct KeyMoment {
  KeyMoment(int64_t frame_ = 0, int64_t reading_ = 0) : frame(frame_), reading(reading_) {}
  int64_t frame;
  int64_t reading;
  auto operator<=>(const KeyMoment&) const = default;
};

class ReplayScript {
 public:
  // Present numbers and scan codes beyond these are refused as typing errors.
  static constexpr int64_t kMaxFrame = 2147483647;

  // Reads a whole script. On failure the script is left empty and *error names the line
  // and the fault ("line 3: scan code 300 is out of 0..255").
  bool Parse(std::string_view text, std::string* error);

  // The keys held at a moment: the last line whose moment is not later; nothing before
  // the first line.
  const HeldKeys& KeysAt(KeyMoment moment) const;
  // The keys tapped since the previous present, at present `present`: the marks of the line
  // of exactly that present (FRAME without :READING); nothing on any other.
  const HeldKeys& TapsAt(int64_t present) const;

  bool Empty() const { return steps_.empty(); }
  size_t StepCount() const { return steps_.size(); }

 private:
  struct Step {
    KeyMoment moment;
    HeldKeys keys;
    HeldKeys taps;
  };
  // One line without its comment; false with *fault (without the line number) on a fault.
  static bool ParseLine(std::string_view line, Step* step, std::string* fault);

  std::vector<Step> steps_;
};

// One script line for `keys` held from `moment` on and `taps` tapped, ending in '\n'
// (":READING" only when the reading is not 0; the taps as *CODE after the held keys).
std::string FormatReplayLine(KeyMoment moment, const HeldKeys& keys,
                             const HeldKeys& taps = HeldKeys());

}  // namespace qrv
