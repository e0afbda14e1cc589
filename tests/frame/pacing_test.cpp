// The frame pacing rules on a clock under the test's control: when the wait sleeps,
// spins or leaves, and where the next deadline lands for frames on time and late.
#include "frame/pacing.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics2d/opengl_device.h"

namespace {

struct CatchUpCase {
  const char* name;
  double deadline, interval, now, expected;
};

TEST(Pacing, CatchUpRule) {
  const CatchUpCase cases[] = {
      {"on time", 100, 10, 95, 110},
      {"exactly at the next deadline", 100, 10, 110, 110},
      {"1.5 intervals late: two intervals after the old one", 100, 10, 115, 120},
      {"two intervals late: still made up", 100, 10, 120, 120},
      {"3 intervals late: restarts from now", 100, 10, 130, 140},
      {"far behind", 100, 1000.0 / 60, 5000, 5000 + 1000.0 / 60},
  };
  for (const CatchUpCase& c : cases) {
    EXPECT_DOUBLE_EQ(qrv::NextDeadline(c.deadline, c.interval, c.now), c.expected) << c.name;
  }
}

TEST(Pacing, StepBySecondsLeft) {
  struct {
    double remaining;
    qrv::PaceStep::Kind kind;
    int32_t sleepMs;
  } cases[] = {{16.6, qrv::PaceStep::Sleep, 13}, {7.5, qrv::PaceStep::Sleep, 4},
               {7.0, qrv::PaceStep::Spin, 0},    {1.01, qrv::PaceStep::Spin, 0},
               {1.0, qrv::PaceStep::Leave, 0},   {-50, qrv::PaceStep::Leave, 0}};
  for (const auto& c : cases) {
    qrv::PaceStep step = qrv::NextPaceStep(c.remaining);
    EXPECT_EQ(step.kind, c.kind) << c.remaining;
    EXPECT_EQ(step.sleepMs, c.sleepMs) << c.remaining;
  }
}

// A clock that moves only when slept on, or by a fixed cost per reading.
struct TestClock {
  double now = 0;
  double costPerRead = 0;
  std::vector<int32_t> sleeps;
  int pumps = 0;
  double Now() {
    double t = now;
    now += costPerRead;
    return t;
  }
  void Sleep(int32_t ms) {
    sleeps.push_back(ms);
    now += ms;
  }
  void Pump() { ++pumps; }
};

TEST(Pacing, WaitSleepsThenSpinsPumpingEveryPass) {
  TestClock clock;
  clock.costPerRead = 0.5;
  double left = qrv::WaitForDeadline(16.667, clock);
  // 16.667 left: sleep 13; then 3.167 left: spin (readings cost 0.5) until 1 ms or less.
  EXPECT_EQ(clock.sleeps, std::vector<int32_t>{13});
  EXPECT_GT(left, 15.667 - 1e-9);
  EXPECT_LE(left, 16.667);
  EXPECT_EQ(clock.pumps, 7);  // one pass sleeping, five spinning, one leaving
}

TEST(Pacing, LateFrameDoesNotWait) {
  TestClock clock;
  clock.now = 40;
  EXPECT_EQ(qrv::WaitForDeadline(16.667, clock), 40);
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_EQ(clock.pumps, 1);
}

TEST(Pacing, FrameIntervalFromRate) {
  const struct {
    double fps, interval;
  } cases[] = {{60, 1000.0 / 60}, {30.9, 1000.0 / 30}, {1, 1000}, {0.5, 2}, {0, 2},
               {-60, 2},          {1e300, 2}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(qrv::FrameIntervalFor(c.fps), c.interval) << c.fps;
}

}  // namespace
