// Helpers the image codecs share: the size limit every decoder enforces and the
// colour key pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "quorvia/graphics2d.h"

namespace qrv {

// True when a w x h image is within the decoders' limits.
bool ImageSizeAllowed(int64_t w, int64_t h);

// Sizes the buffer to count zero bytes. Room the memory cannot give stops the program
// with error 7, as every allocation whose size a caller or a file chose does.
void AssignZeroed(std::vector<uint8_t>& bytes, size_t count);

// Turns every pixel whose colour equals key into (0, 0, 0, 0); nothing for kNoColourKey.
void ApplyColourKey(RgbaImage& image, int32_t key);

}  // namespace qrv
