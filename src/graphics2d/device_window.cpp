// The device's window and GL context: creation with the multisample fallback, the
// software-renderer report, windowed and fullscreen placement, hiding and destruction.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "frame/runtime.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "platform/input_host.h"

namespace qrv {

double FrameIntervalFor(double frameRate) {
  double fps = frameRate > -2147483648.0 && frameRate < 2147483648.0 ? std::trunc(frameRate) : 0;
  return fps > 0 ? 1000.0 / fps : 2.0;
}

OpenGLZozezezi::~OpenGLZozezezi() {
  ReleaseFrameObjects();
  DestroyWindowAndTextures();
  platform::DeleteContext(context);
  context = nullptr;
}

// Tries n, n/2, ..., 1 samples per pixel, then no multisampling at all.
bool OpenGLZozezezi::CreateWindowWithBestFormat(int32_t w, int32_t h, int32_t samples) {
  for (int32_t n = samples; n > 0 && window == nullptr; n /= 2) {
    window = platform::CreateHostWindow("Quorvia", w, h, n);
  }
  if (window == nullptr) window = platform::CreateHostWindow("Quorvia", w, h, 0);
  return window != nullptr;
}

bool OpenGLZozezezi::CreateWindowAndContext(int32_t w, int32_t h, int32_t depth, int32_t frameRate,
                                            int32_t samples) {
  frameInterval = FrameIntervalFor(frameRate);
  multisampleSamples = samples;
  if (w < 0 || h < 0 || !CreateWindowWithBestFormat(w, h, samples)) return false;
  // A side of 0 is the size the window was given.
  int32_t windowW = 0, windowH = 0;
  platform::WindowSize(window, &windowW, &windowH);
  width = w != 0 ? w : windowW;
  height = h != 0 ? h : windowH;
  colourDepth = depth != 0 ? depth : platform::DesktopDepth();
  fullscreen = false;
  // The context is made once and outlives window re-creation, so textures survive.
  if (context != nullptr && !platform::MakeCurrent(window, context)) {
    platform::DeleteContext(context);
    context = nullptr;
  }
  if (context == nullptr) context = platform::CreateContext(window);
  if (context == nullptr) {
    platform::DestroyHostWindow(window);
    window = nullptr;
    return false;
  }
  ReportSoftwareRenderer();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  nextFrameDeadline = RawTimer();
  FetchGlExtensions();
  SetDefault2DState(0, 0, 0, 0);
  if (!scaleTarget.Usable()) SetUpWindowScale();
  contextAlive = 1;
  return true;
}

// Renderer names of software rasterisers.
static bool IsSoftwareRenderer(const std::string& renderer) {
  static const char* const kSoftware[] = {"llvmpipe", "softpipe", "Software Rasterizer", "swrast",
                                          "Mesa Windows GDI Driver"};
  for (const char* name : kSoftware) {
    if (renderer.find(name) != std::string::npos) return true;
  }
  return false;
}

// The driver note shown with a software renderer: the text of "opengldriver.txt", or the
// built-in one when the file is empty. Empty when there is no such file.
static std::string DriverNote(bool* found) {
  std::ifstream file("opengldriver.txt", std::ios::binary);
  *found = static_cast<bool>(file);
  if (!*found) return std::string();
  std::string text(2047, '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(file.gcount()));
  text.resize(std::strlen(text.c_str()));
  if (!text.empty()) return text;
  return "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
         "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\n"
         "per HARDWARE unterst\xFCtzt!";
}

void OpenGLZozezezi::ReportSoftwareRenderer() {
  static bool warned = false;
  static std::string renderer;
  if (warned) return;
  if (renderer.empty()) {
    const GLubyte* name = glGetString(GL_RENDERER);
    renderer = name != nullptr ? reinterpret_cast<const char*>(name) : "";
  }
  if (!IsSoftwareRenderer(renderer)) return;
  warned = true;
  AppendToErrorLog("*** OpenGL Software Emulation - update driver!");
  bool found = false;
  std::string note = DriverNote(&found);
  // An unattended run (tests, recordings) must never wait for someone to click.
  const char* title = "No OpenGL Hardware Drivers";
  std::string why;
  if (found && !UnattendedRun() && !platform::ShowWarningBox(title, note.c_str(), why)) {
    // Nobody saw the note: say so where someone will look, and go on.
    std::string line = std::string("Cannot show the message box \"") + title + "\": " + why;
    AppendToErrorLog(line.c_str());
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

int32_t OpenGLZozezezi::ShowWindowed() {
  if (window == nullptr) return 1;
  if (fullscreen) platform::LeaveDisplayMode(window);
  const int32_t shownW = width * windowScale, shownH = height * windowScale;
  platform::SetWindowSize(window, shownW, shownH);
  int32_t x, y, w, h;
  platform::WorkArea(window, &x, &y, &w, &h);
  platform::PlaceWindow(window, x + (w - shownW) / 2, y + (h - shownH) / 2);
  platform::SetPointerScale(windowScale);
  platform::ShowWindow(window);
  platform::RaiseWindow(window);
  SetDefault2DState(0, 0, 0, 0);
  fullscreen = false;
  return 1;
}

bool OpenGLZozezezi::EnterFullscreen() {
  if (window == nullptr) return false;
  int32_t desktop = platform::DesktopDepth();
  int32_t depth = colourDepth != 0 && colourDepth != desktop ? colourDepth : 0;
  bool switched = platform::EnterDisplayMode(window, width, height, depth) ||
                  (depth != 0 && platform::EnterDisplayMode(window, width, height, 0));
  if (!switched) {
    AppendToErrorLog("No Fullscreen Mode available");
    ShowWindowed();
    return false;
  }
  platform::ShowWindow(window);
  platform::RaiseWindow(window);
  SetDefault2DState(0, 0, 0, 0);
  platform::SetPointerScale(1);
  fullscreen = true;
  return true;
}

int32_t OpenGLZozezezi::SetScreenMode(int32_t w, int32_t h, int32_t depth, int32_t full) {
  ForgetGlState();
  if (w > 0) width = w;
  if (h > 0) height = h;
  if (depth > 0) colourDepth = depth;
  FollowGameSize();
  return full != 0 ? (EnterFullscreen() ? 1 : 0) : ShowWindowed();
}

int32_t OpenGLZozezezi::HideWindow() {
  if (window == nullptr) return 1;
  if (fullscreen) platform::LeaveDisplayMode(window);
  platform::HideWindow(window);
  fullscreen = false;
  return 1;
}

int32_t OpenGLZozezezi::DestroyWindowAndTextures() {
  ForgetGlState();
  if (window == nullptr) return 0;
  FreeAllSprites();
  if (fullscreen) platform::LeaveDisplayMode(window);
  fullscreen = false;
  platform::MakeCurrent(nullptr, nullptr);
  platform::DestroyHostWindow(window);
  window = nullptr;
  width = 0;
  height = 0;
  contextAlive = 0;
  return 0;
}

}  // namespace qrv
