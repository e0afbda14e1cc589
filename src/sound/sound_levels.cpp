// The decibel law of sound effect levels, and the volume for a linear level under it.
#include "sound/sound_levels.h"

#include <algorithm>
#include <cmath>

#include "quorvia/sound.h"

namespace qrv {

int32_t VolumeStep(double volume) {
  if (!(volume > 0)) return 0;  // NaN too
  return static_cast<int32_t>(std::trunc(std::min(volume * 100.0, 100.0)));
}

double VolumeForLevel(double level) {
  if (!(level > 0)) return 0;  // NaN too
  const double step = std::round(100 + 20 * std::log10(level));
  if (step >= 100) return 1;
  if (step < 1) return 0;
  // The middle of the step: trunc(volume * 100) cannot fall to the step below.
  return (step + 0.5) / 100;
}

int32_t PanPosition(double pan) {
  if (std::isnan(pan)) return 0;
  return static_cast<int32_t>(std::trunc(std::clamp(pan, -1.0, 1.0) * 10000.0));
}

double GainForAttenuation(int32_t hundredths) {
  if (hundredths <= kSilence) return 0.0;
  if (hundredths >= 0) return 1.0;
  return std::pow(10.0, hundredths / 2000.0);
}

SideGains GainsFor(int32_t volume, int32_t pan) {
  const int64_t left = static_cast<int64_t>(volume) - std::max(pan, 0);
  const int64_t right = static_cast<int64_t>(volume) + std::min(pan, 0);
  auto gain = [](int64_t h) {
    return GainForAttenuation(static_cast<int32_t>(std::clamp<int64_t>(h, kSilence, 0)));
  };
  return {gain(left), gain(right)};
}

}  // namespace qrv
