// In the browser the page's tab is the game's window. Another tab in front, or the browser
// minimised, hides the page without taking its focus away, so the page reports no focus
// change of its own: the hidden tab is reported as the focus loss a desktop window gives when
// the player switches away, and the tab in front again as the focus coming back. The game
// then pauses and resumes as on the desktop.
#include "platform/web/tab_visibility.h"

#include <SDL.h>
#include <emscripten/html5.h>

namespace qrv::platform {

namespace {

EM_BOOL ReportVisibility(int, const EmscriptenVisibilityChangeEvent* change, void*) {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0 || window == nullptr) return EM_FALSE;
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = SDL_GetWindowID(window);
  event.window.event = change->hidden ? SDL_WINDOWEVENT_FOCUS_LOST : SDL_WINDOWEVENT_FOCUS_GAINED;
  SDL_PushEvent(&event);
  return EM_FALSE;
}

}  // namespace

void WatchTabVisibility() {
  static const bool watching =
      emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, ReportVisibility) ==
      EMSCRIPTEN_RESULT_SUCCESS;
  (void)watching;
}

}  // namespace qrv::platform
