// Linear levels turned into volumes of the decibel law: the amplitude a volume gives is worked
// out here from the law as quorvia/sound.h states it (step trunc(volume * 100), amplitude
// 10^((step - 100) / 20), step 0 silent).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "quorvia/sound.h"

namespace {

double AmplitudeOf(double volume) {
  const double step = std::trunc(std::min(volume * 100, 100.0));
  return step >= 1 ? std::pow(10.0, (step - 100) / 20) : 0;
}

TEST(VolumeForLevel, GivesTheNearestStepOfTheLaw) {
  EXPECT_EQ(qrv::VolumeForLevel(1), 1);
  EXPECT_NEAR(AmplitudeOf(qrv::VolumeForLevel(0.5)), 0.5012, 0.0001);  // step 94, -6 dB
  // From full level down to -99 dB, in steps of a tenth of a decibel: the amplitude lies
  // within half a decibel of the level asked for.
  for (double decibels = 0; decibels >= -99; decibels -= 0.1) {
    const double level = std::pow(10.0, decibels / 20);
    const double volume = qrv::VolumeForLevel(level);
    ASSERT_GE(volume, 0.01) << level;
    ASSERT_LE(volume, 1) << level;
    ASSERT_LE(std::abs(20 * std::log10(AmplitudeOf(volume) / level)), 0.5 + 1e-9) << level;
  }
}

TEST(VolumeForLevel, SilenceFullLevelAndWhatIsNoLevel) {
  for (double level : {0.0, -0.5, -std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN(), 1e-6}) {
    EXPECT_EQ(qrv::VolumeForLevel(level), 0) << level;
  }
  for (double level : {1.0, 1.5, std::numeric_limits<double>::infinity()}) {
    EXPECT_EQ(qrv::VolumeForLevel(level), 1) << level;
  }
}

}  // namespace
