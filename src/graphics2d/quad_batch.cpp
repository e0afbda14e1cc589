// Drawing the pending quads: plain quads as one GL_QUADS array, fans as one multi-draw
// of four-vertex fans (one GL_TRIANGLE_FAN each where the driver cannot multi-draw). The
// vertices stream through a buffer object (client memory where the driver has none); the
// arrays are enabled and pointed once and stay so until other drawing takes them.
#include "graphics2d/quad_batch.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

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

bool BuffersAvailable() {
  const GlExtensions& gl = GlExt();
  return gl.glGenBuffersARB && gl.glBindBufferARB && gl.glBufferDataARB && gl.glDeleteBuffersARB;
}

// A field of the vertex at origin: an address in client memory, or an offset into the bound
// buffer (origin 0).
const void* FieldAt(uintptr_t origin, size_t offset) {
  return reinterpret_cast<const void*>(origin + offset);
}

}  // namespace

void QuadBatch::PrepareArrays() {
  if (arraysReady_) return;
  if (buffer_ == 0 && BuffersAvailable()) GlExt().glGenBuffersARB(1, &buffer_);
  uintptr_t origin = reinterpret_cast<uintptr_t>(vertices_.data());
  if (buffer_ != 0) {
    GlExt().glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer_);
    origin = 0;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), FieldAt(origin, offsetof(QuadVertex, x)));
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), FieldAt(origin, offsetof(QuadVertex, s)));
  arraysReady_ = true;
}

void QuadBatch::Draw() {
  if (count_ == 0) return;
  PrepareArrays();
  if (buffer_ != 0) {
    GlExt().glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(count_ * 4 * sizeof(QuadVertex)),
                            vertices_.data(), GL_STREAM_DRAW_ARB);
  }
  if (shape_ == QuadShape::kQuad) {
    glDrawArrays(GL_QUADS, 0, GLsizei(count_ * 4));
  } else {
    DrawFans(count_);
  }
  count_ = 0;
}

void QuadBatch::ReleaseArrays() {
  if (!arraysReady_) return;
  if (buffer_ != 0) GlExt().glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  arraysReady_ = false;
}

void QuadBatch::DeleteBuffer() {
  ReleaseArrays();
  if (buffer_ != 0 && BuffersAvailable()) GlExt().glDeleteBuffersARB(1, &buffer_);
  buffer_ = 0;
}

}  // namespace qrv
