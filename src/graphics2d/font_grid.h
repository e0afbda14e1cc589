// The grid of a font bitmap: 16 cells per row; a bitmap taller than wide has 16 rows
// (codes 0..255), any other 8 rows (codes 0..127). Rows count from the image's top.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qrv {

constexpr int32_t kFontCount = 32;  // font numbers 0..31

// No screen shows more characters than this; longer texts are cut (bytes, or for TrueType
// fonts the UTF-8 bytes), which keeps the vertex lists (80 bytes per character) within reason.
constexpr size_t kMaxPrintedCharacters = size_t(1) << 20;

struct FontGrid {
  int32_t cellWidth;
  int32_t cellHeight;
  int32_t rows;   // 8 or 16
  int32_t codes;  // 128 or 256
};

inline FontGrid FontGridFor(int32_t width, int32_t height) {
  if (width < height) return {width >> 4, height >> 4, 16, 256};
  return {width >> 4, height >> 3, 8, 128};
}

inline bool IsFontNumber(int32_t font) {
  return font >= 0 && font < kFontCount;
}

}  // namespace qrv
