// Replay scripts: which scan codes are held from which present number on. The text form
// is lines "FRAME CODE CODE ..." in decimal, '#' starting a comment; QRV_REPLAY reads it
// and QRV_RECORD writes it.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

// The set of scan codes held at one moment.
using HeldKeys = std::bitset<256>;

class ReplayScript {
 public:
  // Present numbers and scan codes beyond these are refused as typing errors.
  static constexpr int64_t kMaxFrame = 2147483647;

  // Reads a whole script. On failure the script is left empty and *error names the line
  // and the fault ("line 3: scan code 300 is out of 0..255").
  bool Parse(std::string_view text, std::string* error);

  // The keys held at present number `frame`: the last line whose FRAME is not greater
  // than it; nothing before the first line.
  const HeldKeys& KeysAt(int64_t frame) const;

  bool Empty() const { return steps_.empty(); }
  size_t StepCount() const { return steps_.size(); }

 private:
  struct Step {
    int64_t frame;
    HeldKeys keys;
  };
  std::vector<Step> steps_;
};

// One script line for `keys` held from `frame` on, ending in '\n'.
std::string FormatReplayLine(int64_t frame, const HeldKeys& keys);

}  // namespace qrv
