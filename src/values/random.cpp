// The runtime's random numbers: one ISAAC generator per process, seeded at start-up from
// the clock and re-seeded by the program.
#include "quorvia/values.h"
#include "values/isaac.h"

namespace qrv {
namespace {

void Seed(Isaac& generator, int32_t seed) {
  // The seed stands in for the first word of every group of eight in the seed table.
  uint32_t table[Isaac::kWords] = {};
  for (int i = 0; i < Isaac::kWords; i += 8) table[i] = static_cast<uint32_t>(seed);
  generator.Initialise(table);
}

Isaac& TheGenerator() {
  // Seeded with 0 until start-up or the program seeds it: never an all-zero state.
  static Isaac generator = [] {
    Isaac fresh;
    Seed(fresh, 0);
    return fresh;
  }();
  return generator;
}

}  // namespace

void SeedRandom(int32_t seed) {
  Seed(TheGenerator(), seed);
}

int32_t Random(int32_t n) {
  if (n <= 0) return 0;
  Isaac& generator = TheGenerator();
  generator.Generate();
  return static_cast<int32_t>(generator.results[0] % (static_cast<uint32_t>(n) + 1));
}

}  // namespace qrv
