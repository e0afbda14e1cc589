// Texture helpers shared by the sprite store, fonts and surfaces.
#pragma once

#include <cstdint>
#include <vector>

namespace qrv {

struct RgbaImage;

// Texels as a texture holds them: rows from the bottom, RGBA.
struct TexelBuffer {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> bytes;
  uint8_t* At(int32_t column, int32_t row) {
    return bytes.data() + (size_t(row) * size_t(width) + size_t(column)) * 4;
  }
  const uint8_t* At(int32_t column, int32_t row) const {
    return bytes.data() + (size_t(row) * size_t(width) + size_t(column)) * 4;
  }
};

// The texels of the texture made of the image region (x, y, w, h), w and h already within
// the largest texture: the power-of-two size, the region flipped into its lower-left
// corner, and (unless nearest) transparent texels coloured from their opaque neighbours.
TexelBuffer SpriteTexels(const RgbaImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                         bool nearest);
// The buffer into a new texture in the slot (deleting what it held) with the given
// filters, wrap GL_REPEAT.
void UploadTexels(const TexelBuffer& t, uint32_t& slot, int32_t filter);
// The mipmapped square copy of the buffer into the slot; works on the buffer it is given.
void UploadMipChain(TexelBuffer& t, uint32_t& slot);

// GL_MAX_TEXTURE_SIZE, kept within 16..kTextureSideLimit.
int32_t MaxTextureSide();

// glTexImage2D of RGBA bytes (or none) into the bound 2D texture at the level: 8 bits a
// channel, in the internal format the context takes for that.
void SpecifyRgbaTexture(int32_t level, int32_t width, int32_t height, const void* texels);

// The w x h rectangle at column x, row y of tight RGBA rows rowWidth pixels wide into the
// bound 2D texture's lower-left corner (the rows are copied out where they are not whole).
void SubImageFromRows(const uint8_t* rows, int32_t rowWidth, int32_t x, int32_t y, int32_t w,
                      int32_t h);

// The unpack state every texture upload starts from: rows aligned to 4.
void SetUnpackState();
// Generates a texture into the slot and binds it: wrap GL_REPEAT, the given filters.
void NewTexture(uint32_t& slot, int32_t magFilter, int32_t minFilter);

// Stops the program with error 7 when the driver found no room for what the last calls
// asked of it (a texture of a caller's size). Other GL errors are left alone.
void StopIfGlOutOfMemory();

// Turns a height field (the blue bytes) into a normal map in place; alpha is kept and
// neighbours wrap around every edge.
void MakeNormalMap(uint8_t* texels, int32_t width, int32_t height);

}  // namespace qrv
