// BMP files. The decoder reads the core (12-byte) and info (40-byte) headers field by
// field: every bit depth from 1 to 32, palettes, bit-field masks and top-down rows. The
// encoder writes 24-bit files with the info header, bottom row first.
#include <bit>
#include <cstring>

#include "graphics2d/image_codec.h"

namespace qrv {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
// Compression codes whose pixel data is not plain rows: RLE8, RLE4, JPEG, PNG.
constexpr uint32_t kRle8 = 1, kRle4 = 2, kEmbeddedJpeg = 4, kEmbeddedPng = 5;
constexpr uint32_t kBitFields = 3, kAlphaBitFields = 6;
// Half-transparent pixels are saved in the runtime's default transparent colour
// (red 255, green 0, blue 128), so that loading the file again keys them out.
constexpr uint8_t kSavedTransparent[3] = {128, 0, 255};  // blue, green, red

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// One colour channel of a direct-colour pixel: where its bits sit and their top value.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t top = 0;

  void Set(uint32_t m) {
    mask = m;
    shift = m ? std::countr_zero(m) : 0;
    top = m >> shift;
  }
  uint8_t Of(uint32_t v) const {
    return top ? uint8_t(uint64_t((v & mask) >> shift) * 255 / top) : 0;
  }
};

struct BmpLayout {
  int64_t width = 0;
  int64_t height = 0;
  bool topDown = false;
  uint32_t bits = 0;
  size_t pixelStart = 0;
  uint64_t stride = 0;
  uint8_t palette[256][4] = {};  // blue, green, red, 0; missing entries read as black
  uint32_t paletteCount = 0;
  Channel red, green, blue;
};

bool ReadHeader(std::span<const uint8_t> file, BmpLayout& l, uint32_t& compression) {
  const uint8_t* d = file.data();
  if (file.size() < kFileHeaderSize + 4 || d[0] != 'B' || d[1] != 'M') return false;
  const uint32_t headerSize = Le32(d + 14);
  if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) return false;
  if (file.size() < kFileHeaderSize + headerSize) return false;
  compression = 0;
  if (headerSize == kCoreHeaderSize) {
    l.width = Le16(d + 18);
    l.height = Le16(d + 20);
    l.bits = Le16(d + 24);
  } else {
    l.width = int32_t(Le32(d + 18));
    l.height = int32_t(Le32(d + 22));
    l.bits = Le16(d + 28);
    compression = Le32(d + 30);
  }
  if (l.height < 0) {
    l.topDown = true;
    l.height = -l.height;
  }
  return true;
}

// The bytes between the headers and the pixel data: the palette of indexed images, the
// colour masks of bit-field images.
bool ReadPaletteAndMasks(std::span<const uint8_t> file, BmpLayout& l, uint32_t compression) {
  const size_t headerEnd = kFileHeaderSize + Le32(file.data() + 14);
  const uint64_t offset = Le32(file.data() + 10);
  if (offset > file.size()) return false;
  l.pixelStart = offset > headerEnd ? size_t(offset) : headerEnd;
  const uint8_t* extra = file.data() + headerEnd;
  const size_t extraSize = l.pixelStart - headerEnd;
  if (l.bits <= 8) {
    const size_t entrySize = headerEnd == kFileHeaderSize + kCoreHeaderSize ? 3 : 4;
    l.paletteCount = uint32_t(std::min<size_t>(extraSize / entrySize, 256));
    for (uint32_t i = 0; i < l.paletteCount; ++i) {
      std::memcpy(l.palette[i], extra + i * entrySize, 3);
    }
    return l.paletteCount > 0;
  }
  const bool fromFile = (compression == kBitFields || compression == kAlphaBitFields) &&
                        l.bits != 24 && extraSize >= 12;
  if (fromFile) {
    l.red.Set(Le32(extra));
    l.green.Set(Le32(extra + 4));
    l.blue.Set(Le32(extra + 8));
  } else if (l.bits == 16) {
    l.red.Set(0x7C00);
    l.green.Set(0x03E0);
    l.blue.Set(0x001F);
  } else {
    l.red.Set(0xFF0000);
    l.green.Set(0x00FF00);
    l.blue.Set(0x0000FF);
  }
  return true;
}

bool ReadLayout(std::span<const uint8_t> file, BmpLayout& l) {
  uint32_t compression = 0;
  if (!ReadHeader(file, l, compression)) return false;
  if (compression == kRle8 || compression == kRle4 || compression == kEmbeddedJpeg ||
      compression == kEmbeddedPng) {
    return false;
  }
  switch (l.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  if (!ImageSizeAllowed(l.width, l.height)) return false;
  if (!ReadPaletteAndMasks(file, l, compression)) return false;
  // Every row must be there; only the last one may lack its padding.
  l.stride = (uint64_t(l.width) * l.bits + 31) / 32 * 4;
  const uint64_t need = l.stride * uint64_t(l.height - 1) + (uint64_t(l.width) * l.bits + 7) / 8;
  return need <= file.size() - l.pixelStart;
}

void DecodeIndexedRow(const BmpLayout& l, const uint8_t* src, uint8_t* dst) {
  const uint32_t indexMask = (1u << l.bits) - 1;
  for (int64_t x = 0; x < l.width; ++x, dst += 4) {
    const uint64_t bit = uint64_t(x) * l.bits;
    const uint32_t index = (src[bit >> 3] >> (8 - l.bits - (bit & 7))) & indexMask;
    const uint8_t* entry = l.palette[index];
    dst[0] = entry[2];
    dst[1] = entry[1];
    dst[2] = entry[0];
    dst[3] = 255;
  }
}

void DecodeDirectRow(const BmpLayout& l, const uint8_t* src, uint8_t* dst) {
  const uint32_t bytes = l.bits / 8;
  for (int64_t x = 0; x < l.width; ++x, dst += 4, src += bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i) v |= uint32_t(src[i]) << (8 * i);
    dst[0] = l.red.Of(v);
    dst[1] = l.green.Of(v);
    dst[2] = l.blue.Of(v);
    dst[3] = 255;
  }
}

}  // namespace

bool DecodeBmp(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey) {
  BmpLayout l;
  if (!ReadLayout(file, l)) {
    image.Clear();
    return false;
  }
  image.Resize(int32_t(l.width), int32_t(l.height));
  const uint8_t* rows = file.data() + l.pixelStart;
  for (int64_t r = 0; r < l.height; ++r) {
    const uint8_t* src = rows + l.stride * uint64_t(l.topDown ? r : l.height - 1 - r);
    if (l.bits <= 8) {
      DecodeIndexedRow(l, src, image.Row(int32_t(r)));
    } else {
      DecodeDirectRow(l, src, image.Row(int32_t(r)));
    }
  }
  ApplyColourKey(image, colourKey);
  return true;
}

bool EncodeBmp(const RgbaImage& image, std::vector<uint8_t>& out) {
  if (image.Empty()) return false;
  const uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
  const uint64_t dataSize = uint64_t(stride) * uint32_t(image.height);
  if (dataSize + 54 > 0xFFFFFFFFu) return false;
  out.reserve(out.size() + 54 + dataSize);
  out.push_back('B');
  out.push_back('M');
  const uint32_t fields[][2] = {
      {uint32_t(dataSize) + 54, 4}, {0, 2}, {0, 2}, {54, 4}, {kInfoHeaderSize, 4},
      {uint32_t(image.width), 4}, {uint32_t(image.height), 4}, {1, 2}, {24, 2}, {0, 4},
      {0, 4}, {10000, 4}, {10000, 4}, {0, 4}, {0, 4}};
  for (const auto& field : fields) PutLe(out, field[0], int(field[1]));
  for (int32_t y = image.height - 1; y >= 0; --y) {
    const uint8_t* p = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x, p += 4) {
      const uint8_t bgr[3] = {p[2], p[1], p[0]};
      const uint8_t* colour = p[3] == 255 ? bgr : kSavedTransparent;
      out.insert(out.end(), colour, colour + 3);
    }
    out.insert(out.end(), stride - uint32_t(image.width) * 3, 0);
  }
  return true;
}

}  // namespace qrv
