// The sprite batch and the remembered texture-unit state: quads wait until something that
// changes pixels comes, and binds, enables and texture parameters go to GL only when they
// change. Every tracked change draws the pending quads first, so each quad is drawn with
// the state it was queued under.
#include <GL/gl.h>

#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_parameters.h"

namespace qrv {

// Every tracked change comes through here, so the sprite known to be ready is forgotten.
void OpenGLZozezezi::DrawPendingQuads() {
  readySprite = -1;
  if (!quadBatch.Empty()) quadBatch.Draw();
}

void OpenGLZozezezi::ForgetBinding() {
  DrawPendingQuads();
  unitState.texture = -1;
}

void OpenGLZozezezi::HandOverArrays() {
  DrawPendingQuads();
  quadBatch.ReleaseArrays();
}

void OpenGLZozezezi::ForgetGlState() {
  UseTransparency(true);  // what the code that follows expects of the alpha mode
  DrawPendingQuads();
  unitState = TextureUnitState();
  quadBatch.ReleaseArrays();
  heldState = HeldState();
  depthMayBeWritten = true;
}

// Whoever calls this may go on to change the matrices, so exact sampling waits for the
// next default 2D state.
void OpenGLZozezezi::FlushBatch() {
  ForgetGlState();
  pixelProjection = false;
}

void OpenGLZozezezi::UseTexture(uint32_t texture) {
  if (unitState.texture != int64_t(texture)) {
    DrawPendingQuads();
    glBindTexture(GL_TEXTURE_2D, texture);
    unitState.texture = texture;
  }
  SetTexturing(true);
}

void OpenGLZozezezi::SetTexturing(bool on) {
  if (unitState.texturing == int32_t(on)) return;
  DrawPendingQuads();
  if (on) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
  unitState.texturing = int32_t(on);
}

void OpenGLZozezezi::SetParameterPair(int32_t& known, int32_t value, uint32_t first,
                                      uint32_t second) {
  if (known == value) return;
  DrawPendingQuads();
  glTexParameteri(GL_TEXTURE_2D, first, value);
  glTexParameteri(GL_TEXTURE_2D, second, value);
  known = value;
}

// The parameters belong to the bound texture, which UseTexture has made known.
void OpenGLZozezezi::SetWrap(int32_t wrap) {
  SetParameterPair(TextureParameters(uint32_t(unitState.texture)).wrap, wrap, GL_TEXTURE_WRAP_S,
                   GL_TEXTURE_WRAP_T);
}

void OpenGLZozezezi::SetFilter(int32_t filter) {
  SetParameterPair(TextureParameters(uint32_t(unitState.texture)).filter, filter,
                   GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER);
}

}  // namespace qrv
