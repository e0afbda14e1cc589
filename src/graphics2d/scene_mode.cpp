// Leaving the scene engine's 3D mode: the device's own 2D state comes back, with the alpha
// mode and smoothing the program had chosen, over a cleared depth buffer.
#include <GL/gl.h>

#include "graphics2d/opengl_device.h"

namespace qrv {

void OpenGLZozezezi::Leave3DMode() {
  if (!in3DMode) return;
  in3DMode = false;
  const bool blending = glIsEnabled(GL_BLEND) != 0;
  GLint destination = GL_ONE_MINUS_SRC_ALPHA;
  glGetIntegerv(GL_BLEND_DST, &destination);
  const double keptAlpha = alpha;
  const int32_t keptSmoothing = smoothing;
  SetDefault2DState(viewportX, viewportY, viewportW, viewportH);
  if (blending) SetAlphaMode(destination == GL_ONE ? keptAlpha : -keptAlpha);
  smoothing = keptSmoothing;
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
}

}  // namespace qrv
