// The text colour. White draws text exactly as it always was drawn. Any other colour
// takes the place of white: TrueType glyphs (white texels, coverage as alpha) are simply
// modulated by it; bitmap fonts go through the texture combiner as
//   colour x texel + c x (1 - texel),
// with c chosen per channel so that the built-in font's outline grey comes out as itself,
// so the body takes the colour and the dark outline stays. A driver without the combiner
// ignores those settings and modulates instead (the outline then darkens by at most 8
// levels).
#include <GL/gl.h>
#include <GL/glext.h>

#include "graphics2d/opengl_device.h"

namespace qrv {
namespace {

constexpr float kOutlineGrey = 8.0f / 255.0f;  // the built-in font's outline (fonts.cpp)

float Channel(int32_t colour, int shift) {
  return float((colour >> shift) & 0xFF) / 255.0f;
}

}  // namespace

void OpenGLZozezezi::SetTextColour(int32_t colour) {
  textColour = colour & 0xFFFFFF;
}

void OpenGLZozezezi::ApplyTextColour(bool coverage) {
  DrawPendingQuads();
  if (coverage && alphaModeZero) {
    // Anti-aliased edges are blended even where sprites are only alpha-tested.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_ALPHA_TEST);
  }
  if (textColour == 0xFFFFFF) return;
  const float rgb[3] = {Channel(textColour, 0), Channel(textColour, 8), Channel(textColour, 16)};
  glColor4f(rgb[0], rgb[1], rgb[2], float(alpha));
  if (coverage) return;
  GLfloat keep[4] = {0, 0, 0, 0};
  for (int i = 0; i < 3; ++i) keep[i] = kOutlineGrey * (1 - rgb[i]) / (1 - kOutlineGrey);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, keep);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_INTERPOLATE_ARB);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_CONSTANT_ARB);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_ARB, GL_TEXTURE);
  for (GLenum operand : {GL_OPERAND0_RGB_ARB, GL_OPERAND1_RGB_ARB, GL_OPERAND2_RGB_ARB}) {
    glTexEnvi(GL_TEXTURE_ENV, operand, GL_SRC_COLOR);
  }
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA_ARB, GL_MODULATE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA_ARB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA_ARB, GL_PRIMARY_COLOR_ARB);
}

void OpenGLZozezezi::RestoreTextColour(bool coverage) {
  DrawPendingQuads();
  if (coverage && alphaModeZero) {
    glDisable(GL_BLEND);
    if (!alphaTestSkipped) glEnable(GL_ALPHA_TEST);
  }
  if (textColour == 0xFFFFFF) return;
  glColor4f(1, 1, 1, float(alpha));
  if (!coverage) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace qrv
