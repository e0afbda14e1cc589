// A texture's texels read back to memory.
#pragma once

#include <GL/gl.h>

#include <cstdint>

namespace qrv {

// Reads level 0 of a width x height RGBA texture into rgba (rows from the bottom, 4-byte
// aligned): with glGetTexImage on desktop GL, through a frame buffer that has the texture
// attached on OpenGL ES and WebGL. Leaves texture 2D bound to it; the frame buffer bound
// before stays bound.
// False when neither way is there (rgba is left as it was).
bool ReadTextureTexels(GLuint texture, int32_t width, int32_t height, uint8_t* rgba);

}  // namespace qrv
