// The host window on SDL2: creation with a GL pixel format, the context, placement,
// titles and exclusive display modes.
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "platform/sdl_subsystems.h"
#include "platform/window_host.h"

namespace qrv::platform {

static SDL_Window* Sdl(HostWindow* window) {
  return reinterpret_cast<SDL_Window*>(window);
}

bool InitVideo() {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
  if (!StartSdlSubsystems(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) return false;
  // Without a display SDL may settle for a driver that shows nothing: unless the user asked
  // for one by name, a game there would run unseen, so that counts as no display.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (std::getenv("SDL_VIDEODRIVER") == nullptr && driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    StopSdlSubsystems(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    return false;
  }
  // The program owns the screen while it runs: no screen saver, no monitor power-down.
  SDL_DisableScreenSaver();
  return true;
}

HostWindow* CreateHostWindow(const char* title, int32_t width, int32_t height, int32_t samples) {
  if (!InitVideo()) return nullptr;
  SDL_GL_ResetAttributes();
  RequestGlVersion();
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
  // An unsized side takes the usable size of the first display.
  SDL_Rect area{0, 0, 640, 480};
  if ((width == 0 || height == 0) && SDL_GetDisplayUsableBounds(0, &area) != 0) {
    SDL_GetDisplayBounds(0, &area);
  }
  if (width == 0) width = area.w > 0 ? area.w : 640;
  if (height == 0) height = area.h > 0 ? area.h : 480;
  SDL_Window* window =
      SDL_CreateWindow(HostText(title).c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                       width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  return reinterpret_cast<HostWindow*>(window);
}

void DestroyHostWindow(HostWindow* window) {
  if (window != nullptr) SDL_DestroyWindow(Sdl(window));
}

HostContext* CreateContext(HostWindow* window) {
  SDL_GLContext context = SDL_GL_CreateContext(Sdl(window));
  // Pacing is the frame loop's own; the swap never waits for the display.
  if (context != nullptr) SDL_GL_SetSwapInterval(0);
  return reinterpret_cast<HostContext*>(context);
}

bool MakeCurrent(HostWindow* window, HostContext* context) {
  return SDL_GL_MakeCurrent(Sdl(window), reinterpret_cast<SDL_GLContext>(context)) == 0;
}

void DeleteContext(HostContext* context) {
  if (context != nullptr) SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
}

void* GlProcAddress(const char* name) {
  return SDL_GL_GetProcAddress(name);
}

void SwapBuffers(HostWindow* window) {
  SDL_GL_SwapWindow(Sdl(window));
}

void SetWindowTitle(HostWindow* window, const char* title) {
  SDL_SetWindowTitle(Sdl(window), HostText(title).c_str());
}

std::string WindowTitle(HostWindow* window) {
  return SDL_GetWindowTitle(Sdl(window));
}

void SetWindowSize(HostWindow* window, int32_t width, int32_t height) {
  SDL_SetWindowSize(Sdl(window), width, height);
}

void WindowSize(HostWindow* window, int32_t* width, int32_t* height) {
  SDL_GetWindowSize(Sdl(window), width, height);
}

void WindowPosition(HostWindow* window, int32_t* x, int32_t* y) {
  SDL_GetWindowPosition(Sdl(window), x, y);
}

void WorkArea(HostWindow* window, int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  int display = SDL_GetWindowDisplayIndex(Sdl(window));
  SDL_Rect area{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0) {
    SDL_GetDisplayBounds(0, &area);
  }
  *x = area.x;
  *y = area.y;
  *width = area.w;
  *height = area.h;
}

void PlaceWindow(HostWindow* window, int32_t x, int32_t y) {
  SDL_SetWindowPosition(Sdl(window), x, y);
}

// Whether the program shows its window is its own choice, kept beside the window: the host's
// flag also falls when the player hides the window (minimised, the browser tab in the
// background), and a window hidden that way has still been shown.
constexpr char kShownByProgram[] = "qrv-shown";

void ShowWindow(HostWindow* window) {
  SDL_SetWindowData(Sdl(window), kShownByProgram, Sdl(window));
  SDL_ShowWindow(Sdl(window));
}

void HideWindow(HostWindow* window) {
  SDL_SetWindowData(Sdl(window), kShownByProgram, nullptr);
  SDL_HideWindow(Sdl(window));
}

void RaiseWindow(HostWindow* window) {
  SDL_RaiseWindow(Sdl(window));
}

bool WindowShown(HostWindow* window) {
  return SDL_GetWindowData(Sdl(window), kShownByProgram) != nullptr;
}

int32_t DesktopDepth() {
  SDL_DisplayMode mode;
  if (!InitVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 24;
  return static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format));
}

bool EnterDisplayMode(HostWindow* window, int32_t width, int32_t height, int32_t depth) {
  int display = SDL_GetWindowDisplayIndex(Sdl(window));
  if (display < 0) display = 0;
  int count = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
    if (mode.w != width || mode.h != height) continue;
    if (depth > 0 && static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format)) != depth) continue;
    SDL_SetWindowSize(Sdl(window), width, height);
    if (SDL_SetWindowDisplayMode(Sdl(window), &mode) != 0) return false;
    return SDL_SetWindowFullscreen(Sdl(window), SDL_WINDOW_FULLSCREEN) == 0;
  }
  return false;
}

void LeaveDisplayMode(HostWindow* window) {
  SDL_SetWindowFullscreen(Sdl(window), 0);
}

}  // namespace qrv::platform
