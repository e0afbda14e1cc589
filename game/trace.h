// SKIPDALE_TRACE: when the variable names a file, the game writes one line per frame with
// the player's state after the frame's step, for tests and bug reports:
//   frame x y dx dy inAir facingRight lastColumn lastRow
// frame counts the presents completed before the step (0 for the first frame).
#pragma once

#include <cstdint>
#include <cstdio>

#include "player.h"

namespace skipdale {

class PlayerTrace {
 public:
  PlayerTrace();  // opens the file named by SKIPDALE_TRACE, if set
  ~PlayerTrace();
  PlayerTrace(const PlayerTrace&) = delete;
  PlayerTrace& operator=(const PlayerTrace&) = delete;

  void Write(int32_t frame, const Player& player);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace skipdale
