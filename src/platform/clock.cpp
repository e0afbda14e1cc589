// Host time: the monotonic high-resolution counter, the millisecond tick and sleep.
#include <SDL.h>

#include <chrono>
#include <thread>

#include "platform/platform.h"

namespace qrv::platform {

uint64_t CounterValue() { return SDL_GetPerformanceCounter(); }

uint64_t CounterFrequency() { return SDL_GetPerformanceFrequency(); }

uint32_t TickCount() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<uint32_t>(ms);
}

void SleepMilliseconds(int32_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace qrv::platform
