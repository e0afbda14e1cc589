// Host time: the monotonic high-resolution counter and the millisecond tick.
#include <SDL.h>

#include <chrono>

#include "platform/platform.h"

namespace qrv::platform {

uint64_t CounterValue() { return SDL_GetPerformanceCounter(); }

uint64_t CounterFrequency() { return SDL_GetPerformanceFrequency(); }

uint32_t TickCount() {
  using namespace std::chrono;
  auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<uint32_t>(ms);
}

}  // namespace qrv::platform
