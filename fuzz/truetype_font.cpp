// Fuzz target: a TrueType font opened from arbitrary bytes held in a memory block, as a media
// pack delivers them, at a height of 4..64 pixels taken from the input's length, and a line
// of text across the code ranges laid out, which renders every glyph it names.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "graphics2d/truetype_face.h"
#include "quorvia/files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  const int32_t pixelHeight = 4 + int32_t(size % 61);
  auto block = std::make_unique<uint8_t[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(block.get(), data, size);
  const qrv::RtString name = qrv::RegisterMemoryBlock(std::move(block), int32_t(size));
  const char* reason = nullptr;
  if (auto face = qrv::TrueTypeFace::Open(name.View(), pixelHeight, 256, reason)) {
    std::vector<qrv::PlacedGlyph> placed;
    face->Layout("AVoid Wa\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\x01 fi", &placed);
    face->TakePageChange();
  }
  qrv::ReleaseMemoryBlock(name);
  return 0;
}
