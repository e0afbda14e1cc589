// The rule that picks the channel of a slot for a play request: the current channel when
// it is free, else the next one, cutting off whatever that one still plays.
#pragma once

#include <cstdint>

namespace qrv {

struct ChannelChoice {
  int32_t channel = -1;  // -1: the request fails
  bool cutOff = false;   // the chosen channel still plays and must be stopped first
};

// `count` channels (0: empty slot); `current` is advanced when the current channel plays.
// `playing(c)` tells whether channel c plays.
template <class Playing>
ChannelChoice ChooseChannel(int32_t count, int32_t& current, Playing playing) {
  if (count <= 0 || current < 0 || current >= count) return {};
  if (!playing(current)) return {current, false};
  // With one channel the sound already playing goes on and the request fails.
  if (count == 1) return {};
  current = (current + 1) % count;
  return {current, playing(current)};
}

}  // namespace qrv
