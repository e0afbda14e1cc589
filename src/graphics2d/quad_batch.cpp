// Drawing the pending quads: plain quads as one GL_QUADS array, fans as one multi-draw
// of four-vertex fans (one GL_TRIANGLE_FAN each where the driver cannot multi-draw).
#include "graphics2d/quad_batch.h"

#include <GL/gl.h>

#include "graphics2d/gl_extensions.h"

namespace qrv {
namespace {

// The first vertex and vertex count of every fan of a full batch.
struct FanRanges {
  GLint firsts[QuadBatch::kCapacity];
  GLsizei counts[QuadBatch::kCapacity];
  FanRanges() {
    for (size_t i = 0; i < QuadBatch::kCapacity; ++i) {
      firsts[i] = GLint(i * 4);
      counts[i] = 4;
    }
  }
};

void DrawFans(size_t count) {
  static const FanRanges ranges;
  if (const auto multiDraw = GlExt().glMultiDrawArraysEXT) {
    multiDraw(GL_TRIANGLE_FAN, ranges.firsts, ranges.counts, GLsizei(count));
    return;
  }
  for (size_t i = 0; i < count; ++i) glDrawArrays(GL_TRIANGLE_FAN, GLint(i * 4), 4);
}

}  // namespace

void QuadBatch::Draw() {
  if (count_ == 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices_[0].x);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), &vertices_[0].s);
  if (shape_ == QuadShape::kQuad) {
    glDrawArrays(GL_QUADS, 0, GLsizei(count_ * 4));
  } else {
    DrawFans(count_);
  }
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  count_ = 0;
}

}  // namespace qrv
