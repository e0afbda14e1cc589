// The normal table of ".ddd" files and the record fields every reader fills alike.
#pragma once

#include <cstdint>

#include "quorvia/scene3d.h"

namespace qrv {

constexpr int32_t kNormalCount = 162;
extern const float kNormalTable[kNormalCount][3];

constexpr uint32_t kDddMagic = 0x00C6B317;

// The table entry of a stored index; an index beyond the table reads as entry 0.
inline const float* StoredNormal(uint8_t index) {
  return kNormalTable[index < kNormalCount ? index : 0];
}

// Colour list entry colourIndex, expanded to floats. Values from 0xFFFFFFFC up, and
// indices beyond the list, are opaque white.
void SetVertexColour(MeshVertex& vertex, const GrowableList<uint32_t>& colours,
                     uint8_t colourIndex);

// Fills every frame's bounding sphere and marks the object loaded.
void PrepareObject(MeshObject& object);

}  // namespace qrv
