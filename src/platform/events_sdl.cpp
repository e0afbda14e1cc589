// The host event queue as the frame's message pump sees it, and the listeners that other
// subsystems hang on it.
#include <SDL.h>

#include <vector>

#include "platform/window_host.h"

namespace qrv::platform {

static std::vector<EventListener>& Listeners() {
  static std::vector<EventListener> listeners;
  return listeners;
}

void AddEventListener(EventListener listener) {
  Listeners().push_back(listener);
}

void PumpEvents() {
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) SDL_PumpEvents();
}

bool EventPending() {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
  return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

static HostEventKind KindOf(const SDL_Event& event) {
  if (event.type == SDL_QUIT) return HostEventKind::CloseRequested;
  if (event.type != SDL_WINDOWEVENT) return HostEventKind::Other;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      return HostEventKind::FocusGained;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return HostEventKind::FocusLost;
    case SDL_WINDOWEVENT_CLOSE:
      return HostEventKind::CloseRequested;
    default:
      return HostEventKind::Other;
  }
}

bool TakeEvent(HostEventKind* kind) {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
  SDL_Event event;
  // Taken without pumping again, so that a pass over the queue ends.
  if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) return false;
  for (EventListener listener : Listeners()) listener(&event);
  *kind = KindOf(event);
  return true;
}

}  // namespace qrv::platform
