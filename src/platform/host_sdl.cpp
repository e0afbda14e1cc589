// SDL side of the host services: the power supply and the current GL context.
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <cstdio>

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

bool CurrentGlContext(GlContextFacts& facts) {
  if (SDL_GL_GetCurrentContext() == nullptr) return false;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) return false;
  facts.version = major * 10 + minor;
  GLint profile = 0;
  // Profiles exist from 3.2 on; an older context has everything its version names.
  if (facts.version >= 32) glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
  facts.coreProfile = (profile & GL_CONTEXT_CORE_PROFILE_BIT) != 0;
  return true;
}

bool GlExtensionListed(const std::string& extension) {
  return SDL_GL_ExtensionSupported(extension.c_str()) == SDL_TRUE;
}

bool GlEntryPoint(const char* name) {
  return SDL_GL_GetProcAddress(name) != nullptr;
}

}  // namespace qrv::platform
