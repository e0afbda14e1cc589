// Sprite quads waiting to be drawn: consecutive sprites that share their GL state are
// collected here, in the order they were drawn, and go to GL as one vertex array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qrv {

// One corner: screen position and texture coordinates.
struct QuadVertex {
  float x, y, s, t;
};

// How a quad's four corners are drawn: as one GL quad (plain sprites and frames) or as a
// triangle fan (stretched, scaled and turned sprites); each keeps the triangles it had
// when drawn alone.
enum class QuadShape : uint8_t { kQuad, kFan };

class QuadBatch {
 public:
  // Quads per draw; a fuller batch is drawn before it takes more.
  static constexpr size_t kCapacity = 4096;

  bool Empty() const { return count_ == 0; }
  // Room for one more quad's four corners, to be filled by the caller. Pending quads of
  // the other shape, or a full batch, are drawn first.
  QuadVertex* Append(QuadShape shape) {
    if (count_ != 0 && (shape != shape_ || count_ == kCapacity)) Draw();
    if (vertices_.empty()) vertices_.resize(kCapacity * 4);
    shape_ = shape;
    return &vertices_[4 * count_++];
  }
  // Draws every pending quad, textured, with the GL state in force, and empties the batch.
  void Draw();
  // Unbinds the batch's buffer, for drawing that points the arrays at client memory of
  // its own; the next draw points them again.
  void ReleaseArrays();
  // The buffer object goes (before the GL context does).
  void DeleteBuffer();

 private:
  // Binds the buffer, enables the vertex and texture-coordinate arrays and points them.
  void PrepareArrays();
  std::vector<QuadVertex> vertices_;
  bool arraysReady_ = false;
  uint32_t buffer_ = 0;  // the buffer object the vertices stream through (0: client memory)
  size_t count_ = 0;
  QuadShape shape_ = QuadShape::kQuad;
};

}  // namespace qrv
