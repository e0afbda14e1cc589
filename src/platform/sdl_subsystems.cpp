// Starting and stopping SDL's subsystems, with the program's own main() as the entry.
#include "platform/sdl_subsystems.h"

#include <SDL.h>

#include <mutex>

namespace qrv::platform {

namespace {

std::mutex& SubsystemLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

bool StartSdlSubsystems(uint32_t flags) {
  std::lock_guard<std::mutex> hold(SubsystemLock());
  // Where SDL offers an entry of its own (WinMain on Windows), it refuses to start until
  // that entry ran or this call stands in for it.
  SDL_SetMainReady();
  // Alt+F4 ends the program by the runtime's own key rule, read from present's sample like
  // every key, so that recordings hold it and replays end where the recorded run ended. A
  // host that closes the window on Alt+F4 by itself would end the program outside the sample.
  SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
  return SDL_InitSubSystem(flags) == 0;
}

void StopSdlSubsystems(uint32_t flags) {
  std::lock_guard<std::mutex> hold(SubsystemLock());
  SDL_QuitSubSystem(flags);
}

}  // namespace qrv::platform
