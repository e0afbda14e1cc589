// Frame pacing: how flip waits for the next-frame deadline and how the deadline moves on.
// Pure rules over any clock, so that they can be driven by a clock under test control.
#pragma once

#include <cstdint>

namespace qrv {

// What the wait does with `remaining` ms left until the deadline: sleep while more than
// 7 ms remain (waking 3 ms early, whole milliseconds), spin while more than 1 ms remains,
// else leave.
struct PaceStep {
  enum Kind { Sleep, Spin, Leave } kind;
  int32_t sleepMs;
};

inline PaceStep NextPaceStep(double remaining) {
  if (remaining > 7.0) return {PaceStep::Sleep, static_cast<int32_t>(remaining - 3.0)};
  if (remaining > 1.0) return {PaceStep::Spin, 0};
  return {PaceStep::Leave, 0};
}

// The catch-up rule: a late frame is made up by at most one extra interval; later than
// that, the schedule restarts from now.
inline double NextDeadline(double deadline, double interval, double now) {
  double next = deadline + interval;
  if (now <= next) return next;
  if (now <= next + interval) return next + interval;
  return now + interval;
}

// Waits for the deadline, pumping messages on every pass. The clock gives Now(),
// Sleep(ms) and Pump(). Returns the time read when the wait ended.
template <class Clock>
double WaitForDeadline(double deadline, Clock& clock) {
  for (;;) {
    clock.Pump();
    double now = clock.Now();
    PaceStep step = NextPaceStep(deadline - now);
    if (step.kind == PaceStep::Leave) return now;
    if (step.kind == PaceStep::Sleep) clock.Sleep(step.sleepMs);
  }
}

}  // namespace qrv
