// A screen-sized image held as up to 8 x 8 textures: the background drawn at the start of
// every frame, the pictures of the cross-fade, the screen frozen behind the text prompt.
#pragma once

#include <cstdint>

namespace qrv {

constexpr int32_t kTiledImageCount = 8;  // slots 0..7
constexpr int32_t kMaxTiles = 8;         // tiles per direction

struct TextureTile {
  uint32_t texture = 0;
  int32_t texWidth = 0;
  int32_t texHeight = 0;
  int32_t usedWidth = 0;  // the part of the tile that holds image pixels
  int32_t usedHeight = 0;
};

struct TiledImage {
  TextureTile tiles[kMaxTiles][kMaxTiles];  // [column][row]
  int32_t tilesX = 0;                       // 0: the slot is empty
  int32_t tilesY = 0;
};

inline bool IsTiledImageSlot(int32_t slot) {
  return slot >= 0 && slot < kTiledImageCount;
}

}  // namespace qrv
