// Fuzz target: the BMP decoder on arbitrary bytes, with and without a colour key.
#include <cstddef>
#include <cstdint>

#include "quorvia/graphics2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::RgbaImage image;
  const std::span<const uint8_t> file(data, size);
  if (qrv::DecodeBmp(image, file, qrv::kNoColourKey)) {
    qrv::DecodeBmp(image, file, 0xFF00FF);  // decoding into a used image reuses its buffer
  }
  return 0;
}
