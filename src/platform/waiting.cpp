// Waiting on the desktop: the thread sleeps; showing a frame needs no turn of the host's.
#include <chrono>
#include <thread>

#include "platform/platform.h"

namespace qrv::platform {

void SleepMilliseconds(int32_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void GiveHostTurn(bool paced) {}

}  // namespace qrv::platform
