// Fuzz target: LoadImageFile as a whole (BMP, then PNG, then JPEG) on arbitrary bytes held
// in a memory block, as a media pack delivers them, and every encoder on whatever decodes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "quorvia/files.h"
#include "quorvia/graphics2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  auto block = std::make_unique<uint8_t[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(block.get(), data, size);
  const qrv::RtString name = qrv::RegisterMemoryBlock(std::move(block), int32_t(size));
  qrv::RgbaImage image;
  if (qrv::LoadImageFile(image, name.View(), 0x8000FF)) {
    std::vector<uint8_t> encoded;
    qrv::EncodeBmp(image, encoded);
    qrv::EncodePng(image, encoded);
    qrv::EncodeJpeg(image, encoded);
  }
  qrv::ReleaseMemoryBlock(name);
  return 0;
}
