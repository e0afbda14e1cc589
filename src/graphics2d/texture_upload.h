// Texture helpers shared by the sprite store, fonts and surfaces.
#pragma once

#include <cstdint>

namespace qrv {

// GL_MAX_TEXTURE_SIZE, kept within 16..kTextureSideLimit.
int32_t MaxTextureSide();

// The unpack state every texture upload starts from: rows aligned to 4, no skipping.
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
