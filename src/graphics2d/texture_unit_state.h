// What the 2D drawing last set on texture unit 0: the bound texture and whether texturing
// is on (the bound texture's wrap and filters are remembered per texture, see
// texture_parameters.h). Binds and enables that would change nothing are then not sent
// again. Every field starts unknown.
#pragma once

#include <cstdint>

namespace qrv {

struct TextureUnitState {
  int64_t texture = -1;    // the bound texture name (-1: unknown)
  int32_t texturing = -1;  // GL_TEXTURE_2D on (1) or off (0); -1: unknown
};

}  // namespace qrv
