// Colours as the drawing commands take them: red in bits 0-7, green in 8-15, blue in 16-23
// (0x00BBGGRR), and alpha in 24-31 where a pixel array holds one. Rgb(255, 128, 0) is
// orange whichever way round the bits go.
#pragma once

#include <cstdint>

namespace qrv {

namespace colour_detail {
constexpr uint32_t Channel(int32_t value) {
  return uint32_t(value < 0 ? 0 : value > 255 ? 255 : value);
}
}  // namespace colour_detail

// A colour from its red, green and blue parts, each 0..255 (values outside are clamped).
constexpr int32_t Rgb(int32_t red, int32_t green, int32_t blue) {
  using colour_detail::Channel;
  return int32_t(Channel(red) | Channel(green) << 8 | Channel(blue) << 16);
}
// A pixel for SpriteFromPixels: alpha 255 is opaque, 0 clear.
constexpr int32_t Rgba(int32_t red, int32_t green, int32_t blue, int32_t alpha) {
  return int32_t(uint32_t(Rgb(red, green, blue)) | colour_detail::Channel(alpha) << 24);
}
// The parts of a colour or pixel, each 0..255.
constexpr int32_t RedOf(int32_t colour) {
  return colour & 0xFF;
}
constexpr int32_t GreenOf(int32_t colour) {
  return (colour >> 8) & 0xFF;
}
constexpr int32_t BlueOf(int32_t colour) {
  return (colour >> 16) & 0xFF;
}
constexpr int32_t AlphaOf(int32_t colour) {
  return int32_t(uint32_t(colour) >> 24);
}

}  // namespace qrv
