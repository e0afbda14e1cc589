// RgbaImage, the in-memory image every codec fills and the texture upload reads, and
// the checks the decoders share.
#include "graphics2d/image_codec.h"

#include <new>

#include "quorvia/frame.h"

namespace qrv {

void RgbaImage::Resize(int32_t w, int32_t h) {
  width = w;
  height = h;
  AssignZeroed(pixels, size_t(w) * size_t(h) * 4);
}

void AssignZeroed(std::vector<uint8_t>& bytes, size_t count) {
  try {
    // assign() keeps the capacity when it suffices.
    bytes.assign(count, 0);
  } catch (const std::bad_alloc&) {
    ErrorStop(7);
  }
}

void RgbaImage::Clear() {
  width = 0;
  height = 0;
  std::vector<uint8_t>().swap(pixels);
}

bool ImageSizeAllowed(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide &&
         w * h <= kMaxImagePixels;
}

void ApplyColourKey(RgbaImage& image, int32_t key) {
  if (key == kNoColourKey) return;
  uint8_t* p = image.pixels.data();
  uint8_t* end = p + image.pixels.size();
  for (; p != end; p += 4) {
    if ((p[0] | p[1] << 8 | p[2] << 16) == key) p[0] = p[1] = p[2] = p[3] = 0;
  }
}

}  // namespace qrv
