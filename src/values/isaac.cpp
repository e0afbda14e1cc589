// The ISAAC generator: initialisation from a seed table and one generation run.
#include "values/isaac.h"

#include <cstring>

namespace qrv {
namespace {

// The eight mixing words of the initialisation.
struct MixWords {
  uint32_t w[8];

  void Mix() {
    uint32_t& a = w[0];
    uint32_t& b = w[1];
    uint32_t& c = w[2];
    uint32_t& d = w[3];
    uint32_t& e = w[4];
    uint32_t& f = w[5];
    uint32_t& g = w[6];
    uint32_t& h = w[7];
    a ^= b << 11;
    d += a;
    b += c;
    b ^= c >> 2;
    e += b;
    c += d;
    c ^= d << 8;
    f += c;
    d += e;
    d ^= e >> 16;
    g += d;
    e += f;
    e ^= f << 10;
    h += e;
    f += g;
    f ^= g >> 4;
    a += f;
    g += h;
    g ^= h << 8;
    b += g;
    h += a;
    h ^= a >> 9;
    c += h;
    a += b;
  }

  // Adds eight words of source in, mixes, and stores the mixing words into target.
  void Absorb(const uint32_t* source, uint32_t* target) {
    for (int k = 0; k < 8; ++k) w[k] += source[k];
    Mix();
    std::memcpy(target, w, sizeof w);
  }
};

}  // namespace

void Isaac::Initialise(const uint32_t (&seed)[kWords]) {
  std::memset(this, 0, sizeof *this);
  MixWords mix;
  for (uint32_t& word : mix.w) word = 0x9e3779b9;  // the golden ratio
  for (int round = 0; round < 4; ++round) mix.Mix();
  for (int i = 0; i < kWords; i += 8) mix.Absorb(seed + i, state + i);
  // The second pass spreads every seed word over the whole state.
  for (int i = 0; i < kWords; i += 8) mix.Absorb(state + i, state + i);
}

void Isaac::Generate() {
  ++c;
  b += c;
  for (int i = 0; i < kWords; ++i) {
    uint32_t x = state[i];
    switch (i & 3) {
      case 0:
        a ^= a << 13;
        break;
      case 1:
        a ^= a >> 6;
        break;
      case 2:
        a ^= a << 2;
        break;
      case 3:
        a ^= a >> 16;
        break;
    }
    a += state[(i + 128) & 255];
    uint32_t y = state[(x >> 2) & 255] + a + b;
    state[i] = y;
    b = state[(y >> 10) & 255] + x;
    results[i] = b;
  }
}

}  // namespace qrv
