// SDL side of the host services: the power supply and the GL driver's entry points.
#include <SDL.h>
#include <dlfcn.h>

#include "platform/host_services.h"

namespace qrv::platform {

PowerSupply CurrentPowerSupply() {
  int percent = -1;
  SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
  PowerSupply supply;
  supply.hasBattery = state == SDL_POWERSTATE_ON_BATTERY || state == SDL_POWERSTATE_CHARGING ||
                      state == SDL_POWERSTATE_CHARGED;
  supply.percent = percent;
  return supply;
}

// Whether a GL library of the process exports the name: the GL interface's own list of
// entry points, without names the driver's lookup would make up for any text.
static bool GlInterfaceHas(const char* name) {
  for (const char* library : {"libGL.so.1", "libOpenGL.so.0"}) {
    void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) continue;
    bool found = dlsym(handle, name) != nullptr;
    dlclose(handle);
    if (found) return true;
  }
  return false;
}

bool GlFunctionProvided(const char* name) {
  if (SDL_GL_GetCurrentContext() == nullptr) return false;
  return GlInterfaceHas(name) && SDL_GL_GetProcAddress(name) != nullptr;
}

}  // namespace qrv::platform
