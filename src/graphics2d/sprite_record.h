// The sprite table's record and its id ranges. A sprite is an image held as an OpenGL
// texture (and, when small, on a shared atlas page); the image's bottom row sits in texel
// row 0.
#pragma once

#include <cstdint>

namespace qrv {

constexpr int32_t kSpriteCount = 65536;
constexpr int32_t kFontSlotBase = 65504;  // font n lives in sprite kFontSlotBase + n
constexpr int32_t kScratchSprite = 65503;  // overwritten by the off-screen fallback
constexpr int32_t kDefaultTransparentColour = 0x8000FF;
// Texture sides stay within the 16-bit size fields whatever the driver allows.
constexpr int32_t kTextureSideLimit = 16384;

struct SpriteRecord {
  uint32_t texture = 0;     // GL name of the plain texture, 0: none (yet, on a page)
  uint32_t mipTexture = 0;  // GL name of the mipmapped square copy, 0: none
  float uMax = 1.0f;        // width / texWidth
  float vMax = 1.0f;        // height / texHeight
  int16_t texWidth = -1;
  int16_t texHeight = -1;
  int16_t width = 0;  // 0: the slot is empty
  int16_t height = 0;
  int16_t frameWidth = 0;  // 0: not an animation
  int16_t frameHeight = 0;
  // Every texel of the texture, the padding included, has alpha 255, and nothing may draw
  // into it (no surface, no grab, not handed out).
  bool opaque = false;
  // The image's own texels (width x height) all have alpha 255: enough for drawing that
  // samples only them (texel centres, nearest filtering); nothing may draw into it.
  bool opaqueInside = false;
  // A copy on a shared atlas page (sprite_atlas.cpp), for drawing texel for pixel (0: none);
  // a coordinate (s, t) of the sprite's own texture is (pageS + s * pageScaleS,
  // pageT + t * pageScaleT) on the page. A sprite on a page gets its own texture (above)
  // only when other drawing needs it.
  uint32_t pageTexture = 0;
  float pageS = 0.0f;
  float pageT = 0.0f;
  float pageScaleS = 1.0f;
  float pageScaleT = 1.0f;
};

inline bool IsSpriteId(int32_t id) { return id >= 0 && id < kSpriteCount; }

// The texture side for an image side n: the smallest power of two >= n and >= 16.
inline int32_t TextureSizeFor(int32_t n) {
  int32_t size = 8;
  do {
    size *= 2;
  } while (size < n && size < kTextureSideLimit);
  return size;
}

}  // namespace qrv
