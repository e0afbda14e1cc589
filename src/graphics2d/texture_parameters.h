// The wrap mode and filters each texture object was last given, by texture name, so that
// binding a texture never re-sends them. Textures are made through NewTexture, which
// records what it sets; a texture handed to the program (SpriteTexture) may be changed
// behind the device's back, so its parameters count as unknown for good.
#pragma once

#include <cstdint>

namespace qrv {

struct KnownTextureParameters {
  int32_t wrap = 0;    // both wrap modes (0: unknown)
  int32_t filter = 0;  // both filters (0: unknown)
};

// The record of the texture (unknown parameters when there is none).
KnownTextureParameters& TextureParameters(uint32_t texture);
// A new texture with the given wrap mode and filters (0: unknown, e.g. filters that differ).
void RecordNewTexture(uint32_t texture, int32_t wrap, int32_t filter);
// Its parameters are set by others from now on: the record never holds them.
void HandOutTexture(uint32_t texture);

}  // namespace qrv
