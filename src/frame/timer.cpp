// The raw timer (milliseconds since the first reading) and the frame times.
#include "frame/runtime.h"
#include "platform/platform.h"

namespace qrv {

void InitialiseTimer() {
  Runtime& rt = TheRuntime();
  uint64_t frequency = platform::CounterFrequency();
  rt.usesCounter = frequency > 0;
  rt.counterFrequency = static_cast<double>(frequency);
}

double RawTimer() {
  Runtime& rt = TheRuntime();
  double t;
  if (rt.usesCounter) {
    // Split the product so that counts x 1000 never overflows 64 bits.
    uint64_t count = platform::CounterValue();
    uint64_t frequency = static_cast<uint64_t>(rt.counterFrequency);
    uint64_t whole = count / frequency;
    uint64_t rest = count % frequency;
    t = static_cast<double>(whole) * 1000.0 +
        static_cast<double>(rest) * 1000.0 / rt.counterFrequency;
  } else {
    t = static_cast<double>(platform::TickCount());
  }
  if (rt.timerBase == 0.0) rt.timerBase = t;
  return t - rt.timerBase;
}

void ResetFrameTimes() {
  Runtime& rt = TheRuntime();
  double now = RawTimer();
  rt.thisFrameTime = now;
  rt.previousFrameTime = now;
  rt.startTime = now;
}

}  // namespace qrv
