// The GL the runtime draws with in the browser: OpenGL ES 2, that is WebGL 1, on which
// emscripten emulates the fixed-function calls.
#include <SDL.h>

#include "platform/window_host.h"

namespace qrv::platform {

void RequestGlVersion() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
}

}  // namespace qrv::platform
