// The GL the runtime draws with on the desktop: 2.1, compatibility profile.
#include <SDL.h>

#include "platform/window_host.h"

namespace qrv::platform {

void RequestGlVersion() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

}  // namespace qrv::platform
