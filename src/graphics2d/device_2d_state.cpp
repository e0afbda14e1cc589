// The default 2D GL state every frame starts from: viewport with a top-left origin,
// orthographic projection with y growing downwards, and fixed-function switches set
// for flat, alpha-tested sprite drawing.
#include <GL/gl.h>

#include "graphics2d/opengl_device.h"

namespace qrv {

// A quarter turn for a display used on its side (column-major).
static const GLfloat kQuarterTurn[16] = {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

static void SetFixedFunctionDefaults() {
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.05f);
  glColor4f(1, 1, 1, 1);
  for (GLenum cap :
       {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING,
        GL_COLOR_MATERIAL, GL_DITHER, GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL}) {
    glDisable(cap);
  }
  glShadeModel(GL_FLAT);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
}

// What GL holds is known while only the tracked drawing has run since the last full send
// (anything that calls GL by its own calls goes through ForgetGlState first): then only
// what differs is sent.
void OpenGLZozezezi::SetDefault2DState(int32_t x, int32_t y, int32_t w, int32_t h) {
  bool turned = orientation != 0 && offscreenTarget < 0;
  if (w <= 0 || h <= 0) {
    w = turned ? height : width;
    h = turned ? width : height;
  }
  const HeldView view{x, y, w, h, width, height, turned};
  const bool held = heldState.defaults && heldState.view == view;
  if (held) {
    DrawPendingQuads();
  } else {
    FlushBatch();
  }
  in3DMode = false;
  viewportX = x;
  viewportY = y;
  viewportW = w;
  viewportH = h;
  if (!held) {
    glMatrixMode(GL_PROJECTION);
    if (turned) {
      glViewport(width - y - h, height - w - x, h, w);
      glLoadMatrixf(kQuarterTurn);
    } else {
      glViewport(x, height - h - y, w, h);
      glLoadIdentity();
    }
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SetFixedFunctionDefaults();
    heldState.defaults = true;
    heldState.view = view;
  }

  smoothing = 1;
  boundSprite = -1;
  alphaModeZero = true;
  fullAlphaBlending = false;
  if (alphaTestSkipped) heldState.opaqueMode = false;  // the alpha test goes on below
  alphaTestSkipped = false;
  blendSkipped = false;  // only in normal blending, which sends the mode below in full
  if (!held || !heldState.opaqueMode) {
    glEnable(GL_BLEND);
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glColor4f(1, 1, 1, 1);
    heldState.opaqueMode = true;
  }
  alpha = 1.0;
  pixelProjection = true;
}

}  // namespace qrv
