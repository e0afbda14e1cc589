// What the 2D drawing last set on texture unit 0: the bound texture, whether texturing is
// on, and the bound texture's wrap and filters. Binds, enables and texture parameters that
// would change nothing are then not sent again. Every field starts unknown.
#pragma once

#include <cstdint>

namespace qrv {

struct TextureUnitState {
  int64_t texture = -1;    // the bound texture name (-1: unknown)
  int32_t texturing = -1;  // GL_TEXTURE_2D on (1) or off (0); -1: unknown
  int32_t wrap = 0;        // wrap mode of the bound texture (0: unknown)
  int32_t filter = 0;      // minifying and magnifying filter of the bound texture (0: unknown)
};

}  // namespace qrv
