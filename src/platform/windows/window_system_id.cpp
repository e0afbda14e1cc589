// The window's handle (HWND) on Windows.
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>

#include "platform/window_host.h"

namespace qrv::platform {

uint64_t WindowSystemId(HostWindow* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  SDL_Window* sdl = reinterpret_cast<SDL_Window*>(window);
  if (!SDL_GetWindowWMInfo(sdl, &info) || info.subsystem != SDL_SYSWM_WINDOWS) return 0;
  return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(info.info.win.window));
}

}  // namespace qrv::platform
