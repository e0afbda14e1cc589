// Starting SDL's subsystems with the program's own main() as the entry.
#include "platform/sdl_subsystems.h"

#include <SDL.h>

namespace qrv::platform {

bool StartSdlSubsystems(uint32_t flags) {
  // Where SDL offers an entry of its own (WinMain on Windows), it refuses to start until
  // that entry ran or this call stands in for it.
  SDL_SetMainReady();
  return SDL_InitSubSystem(flags) == 0;
}

}  // namespace qrv::platform
