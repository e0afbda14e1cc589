// Helpers the image codecs share: the size limit every decoder enforces and the
// colour key pass.
#pragma once

#include <cstdint>

#include "quorvia/graphics2d.h"

namespace qrv {

// True when a w x h image is within the decoders' limits.
bool ImageSizeAllowed(int64_t w, int64_t h);

// Turns every pixel whose colour equals key into (0, 0, 0, 0); nothing for kNoColourKey.
void ApplyColourKey(RgbaImage& image, int32_t key);

}  // namespace qrv
