// The graphics device OpenGLZozezezi: one program window with its OpenGL context.
// The window/context part lives in device_window.cpp and device_2d_state.cpp; the sprite
// store, drawing, fonts and surfaces add their fields and operations to the same class.
#pragma once

#include <cstdint>

#include "platform/window_host.h"

namespace qrv {

class OpenGLZozezezi {
 public:
  OpenGLZozezezi() = default;
  OpenGLZozezezi(const OpenGLZozezezi&) = delete;
  OpenGLZozezezi& operator=(const OpenGLZozezezi&) = delete;
  virtual ~OpenGLZozezezi();

  // --- Window and context ---------------------------------------------------------------

  // Creates the window (hidden until placed) and binds the GL context to it; the context is
  // made once and kept across re-creation, so textures survive. A colour depth of 0 means
  // the desktop's; a frame rate of 0 or less paces at 2 ms. False when the host offers no
  // window or no context.
  bool CreateWindowAndContext(int32_t width, int32_t height, int32_t depth, int32_t frameRate,
                              int32_t samples);
  // Leaves fullscreen if needed and shows the window centred on its display's work area.
  int32_t ShowWindowed();
  // Switches to the display mode width x height; on failure logs it and stays windowed.
  bool EnterFullscreen();
  // Non-zero values replace the stored size and depth; then fullscreen or windowed.
  int32_t SetScreenMode(int32_t width, int32_t height, int32_t depth, int32_t fullscreen);
  int32_t HideWindow();
  // Frees the textures and destroys the window; the GL context itself stays.
  int32_t DestroyWindowAndTextures();
  // The default 2D state for the viewport (x, y, w, h) with a top-left origin; w or h of 0
  // or less means the full window.
  void SetDefault2DState(int32_t x, int32_t y, int32_t w, int32_t h);

  // The window/context fields.
  int32_t smoothing = 0;
  platform::HostWindow* window = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t colourDepth = 0;
  bool fullscreen = false;
  int32_t multisampleSamples = 0;
  int32_t viewportX = 0;
  int32_t viewportY = 0;
  int32_t viewportW = 0;
  int32_t viewportH = 0;
  int32_t orientation = 0;  // non-zero: the display is turned a quarter turn

  // Drawing state that the frame resets at the start of every frame.
  double alpha = 1.0;              // the device's current alpha
  uint32_t selectedTexture = 0;    // the texture drawing last bound (0: none)
  int32_t offscreenTarget = -1;    // the off-screen surface drawn into (-1: the window)

  int32_t contextAlive = 0;
  double nextFrameDeadline = 0.0;  // ms on the raw timer's scale
  double frameInterval = 2.0;      // ms
  platform::HostContext* context = nullptr;

 private:
  bool CreateWindowWithBestFormat(int32_t width, int32_t height, int32_t samples);
  void ReportSoftwareRenderer();
};

// Frame interval in ms for a frame rate: 1000 / rate truncated toward zero, 2 ms when the
// rate is 0 or less.
double FrameIntervalFor(double frameRate);

}  // namespace qrv
