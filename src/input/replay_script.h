// Replay scripts: which scan codes are held from which moment on. A moment is a present
// number, optionally with the count of keyboard readings the program made since that
// present ("FRAME:READING"). The text form is lines "FRAME[:READING] KEY KEY ..." with
// numbers in decimal and each KEY a scan code or a name of key_codes.h ("Right", "kKeyRight"),
// '#' starting a comment; QRV_REPLAY reads it and QRV_RECORD writes it (with codes).
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

  bool Empty() const { return steps_.empty(); }
  size_t StepCount() const { return steps_.size(); }

 private:
  struct Step {
    KeyMoment moment;
    HeldKeys keys;
  };
  std::vector<Step> steps_;
};

// One script line for `keys` held from `moment` on, ending in '\n' (":READING" only when
// the reading is not 0).
std::string FormatReplayLine(KeyMoment moment, const HeldKeys& keys);

}  // namespace qrv
