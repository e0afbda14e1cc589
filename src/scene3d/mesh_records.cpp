// The record rules shared by every object reader and by the saver: colour expansion,
// normal quantisation and the preparation of a loaded object.
#include <cmath>

#include "scene3d/normal_table.h"

namespace qrv {

void SetVertexColour(MeshVertex& vertex, const GrowableList<uint32_t>& colours,
                     uint8_t colourIndex) {
  uint32_t colour = colourIndex < colours.Count() ? colours[colourIndex] : 0xFFFFFFFFu;
  vertex.colour = colour;
  vertex.colourIndex = colourIndex;
  if (colour >= 0xFFFFFFFCu) {
    for (float& c : vertex.rgba) c = 1.0f;
    return;
  }
  for (int i = 0; i < 3; ++i)
    vertex.rgba[i] = static_cast<float>((colour >> (8 * i)) & 0xFF) / 255.0f;
  vertex.rgba[3] = 1.0f;
}

uint8_t QuantiseNormal(const float normal[3]) {
  float n[3] = {normal[0], normal[1], normal[2]};
  float square = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
  if (square > 1e-7f) {
    float length = std::sqrt(square);
    for (float& c : n) c /= length;
  }
  // d = |n . (n - t)|: the later of two equal entries wins; an exact 0 ends the search.
  float best = 10000.0f;
  int32_t bestIndex = 0;
  for (int32_t i = 0; i < kNormalCount; ++i) {
    const float* t = kNormalTable[i];
    float d = std::fabs(n[0] * (n[0] - t[0]) + n[1] * (n[1] - t[1]) + n[2] * (n[2] - t[2]));
    if (d <= best) {
      best = d;
      bestIndex = i;
    }
    if (d == 0.0f) break;
  }
  return static_cast<uint8_t>(bestIndex);
}

void PrepareObject(MeshObject& object) {
  for (MeshFrame& frame : object.frames) frame.sphere = FrameBoundingSphere(frame);
  object.loaded = true;
}

}  // namespace qrv
