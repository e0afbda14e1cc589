// 2D graphics on the OpenGLZozezezi device: image files, the sprite store, drawing,
// fonts and text, off-screen surfaces and shaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "quorvia/rt_string.h"

namespace qrv {

// --- Images --------------------------------------------------------------------------

// An image in memory: 4 bytes per pixel (red, green, blue, alpha), rows from the top, no
// row padding. The currency between the image codecs and the texture upload.
struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;

  // Sizes the image to w x h with every byte zero, reusing the buffer when it is big enough.
  void Resize(int32_t w, int32_t h);
  // Empties the image and frees its buffer.
  void Clear();
  uint8_t* Row(int32_t y) { return pixels.data() + size_t(y) * size_t(width) * 4; }
  const uint8_t* Row(int32_t y) const { return pixels.data() + size_t(y) * size_t(width) * 4; }
  bool Empty() const { return width <= 0 || height <= 0; }
};

// A colour value: red in bits 0-7, green 8-15, blue 16-23. kNoColourKey keys nothing.
constexpr int32_t kNoColourKey = -1;

// The largest image the decoders accept: no side above 32767 (a sprite's size is 16-bit)
// and at most 2^26 pixels (256 MB of RGBA), so a small hostile file cannot ask for more.
constexpr int32_t kMaxImageSide = 32767;
constexpr int64_t kMaxImagePixels = int64_t(1) << 26;

// The decoders read a whole file held in memory. Each returns false on anything it
// does not accept and then leaves the image empty; none of them ever ends the program.
// A pixel whose red | green << 8 | blue << 16 equals the colour key becomes all zero
// (BMP always; PNG only when the file has no alpha of its own; JPEG never).
bool DecodeBmp(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey);
// name only appears in the messages printed for refused bit depths and colour types.
bool DecodePng(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey,
               std::string_view name = {});
bool DecodeJpeg(RgbaImage& image, std::span<const uint8_t> file);

// The encoders append a whole file to out; false when the image is empty or too big.
bool EncodeBmp(const RgbaImage& image, std::vector<uint8_t>& out);
bool EncodePng(const RgbaImage& image, std::vector<uint8_t>& out);
bool EncodeJpeg(const RgbaImage& image, std::vector<uint8_t>& out, int quality = 80);

// Decodes a file or a "mem://" name, trying BMP, then PNG, then JPEG, whatever the name.
bool LoadImageFile(RgbaImage& image, std::string_view name, int32_t colourKey);
// Writes PNG when the name ends in ".png", JPEG when it ends in "jpg" (either case), and
// 24-bit BMP otherwise. False when the file cannot be written; "mem://" names never can.
bool SaveImageFile(std::string_view name, const RgbaImage& image);

}  // namespace qrv
