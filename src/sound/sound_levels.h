// The level rules of sound effects: the game's volume and pan turned into hundredths of a
// decibel, and those into a linear gain for each side by the decibel law.
#pragma once

#include <cstdint>

namespace qrv {

inline constexpr int32_t kSilence = -10000;  // hundredths of a dB: -100 dB counts as silent

// The volume step 0..100 of a game volume 0..1: trunc(min(v * 100, 100)), at least 0.
int32_t VolumeStep(double volume);
// The step as attenuation in hundredths of a dB: 100 -> 0 (full), 0 -> -10000 (silent).
inline int32_t VolumeAttenuation(int32_t step) {
  return step * 100 - 10000;
}
// The game pan -1..1 (clamped) as -10000 (full left) .. 10000 (full right).
int32_t PanPosition(double pan);

// A linear amplitude factor for an attenuation in hundredths of a dB: 10^(h / 2000),
// exactly 0 at -10000 and below, 1 at 0 and above.
double GainForAttenuation(int32_t hundredths);

struct SideGains {
  double left, right;
};
// The volume applies to both sides; the pan attenuates the opposite side by |pan|
// hundredths of a dB (a pan to the right quietens the left).
SideGains GainsFor(int32_t volume, int32_t pan);

}  // namespace qrv
