// The window's id on the X display it shows on.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/window_host.h"

namespace qrv::platform {

uint64_t WindowSystemId(HostWindow* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_Window* sdl = reinterpret_cast<SDL_Window*>(window);
  if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<uint64_t>(info.info.x11.window);
}

}  // namespace qrv::platform
