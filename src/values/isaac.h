// The ISAAC generator: a 256-word state, a 256-word result table and the registers a, b, c.
// Kept apart from the runtime's seeding rule so it can be checked against the published output.
#pragma once

#include <cstdint>

namespace qrv {

struct Isaac {
  static constexpr int kWords = 256;

  uint32_t state[kWords];
  uint32_t results[kWords];
  uint32_t a, b, c;

  // Clears everything, then fills the state from a seed table by ISAAC's initialisation
  // (the golden-ratio mixing words scrambled, then two passes of mixing).
  void Initialise(const uint32_t (&seed)[kWords]);
  // One run over all 256 state words: 256 new result words.
  void Generate();
};

}  // namespace qrv
