// PNG files through libpng. Decoding expands palettes, small grey depths and
// transparency chunks, strips 16-bit channels, and refuses grey with alpha; rows land
// directly in the RgbaImage. Encoding writes 8-bit RGBA. libpng errors come back to
// the caller as a failed decode or save, never as the end of the program.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "graphics2d/image_codec.h"

namespace qrv {
namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t position;
};

void ReadFromSource(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->position) png_error(png, "file ends early");
  std::memcpy(out, source->data + source->position, count);
  source->position += count;
}

void AppendToVector(png_structp png, png_bytep data, size_t count) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}

void FlushNothing(png_structp) {}

// The libpng structures of one decode, released on every path.
struct PngReader {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError,
                                           OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

struct PngWriter {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError,
                                            OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

// Asks libpng for 8-bit RGBA whatever the file holds. False for grey with alpha, which
// is refused without a message.
bool ChooseTransformations(png_structp png, png_infop info, bool& hasAlpha) {
  const int type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  const bool transparencyChunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (transparencyChunk) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  const bool grey = (type & PNG_COLOR_MASK_COLOR) == 0;
  hasAlpha = (type & PNG_COLOR_MASK_ALPHA) != 0 || transparencyChunk;
  if (grey && hasAlpha) return false;
  if (grey) png_set_gray_to_rgb(png);
  if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

// The decode proper. libpng errors leave it by longjmp, so it holds no C++ objects.
bool ReadPngSteps(png_structp png, png_infop info, RgbaImage& image, png_bytep* rows,
                  int32_t colourKey, const char* name) {
  bool hasAlpha = false;
  png_read_info(png, info);
  if (!ChooseTransformations(png, info, hasAlpha)) return false;
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!ImageSizeAllowed(width, height)) return false;
  if (png_get_bit_depth(png, info) != 8) {
    std::printf("File %s has bit depth %d.\n", name, png_get_bit_depth(png, info));
    std::printf("Only bit depth of 8 is supported.\n");
    return false;
  }
  const int type = png_get_color_type(png, info);
  if (type != PNG_COLOR_TYPE_GRAY && type != PNG_COLOR_TYPE_RGB &&
      type != PNG_COLOR_TYPE_RGB_ALPHA) {
    std::printf("File %s has unsupported color type.\n", name);
    std::printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
    return false;
  }
  if (png_get_channels(png, info) != 4 || png_get_rowbytes(png, info) != size_t(width) * 4) {
    return false;
  }
  image.Resize(int32_t(width), int32_t(height));
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.Row(int32_t(y));
  png_read_image(png, rows);
  if (!hasAlpha) ApplyColourKey(image, colourKey);
  return true;
}

bool ReadPngGuarded(png_structp png, png_infop info, RgbaImage& image, png_bytep* rows,
                    int32_t colourKey, const char* name) {
  if (setjmp(png_jmpbuf(png))) return false;
  return ReadPngSteps(png, info, image, rows, colourKey, name);
}

bool WritePngGuarded(png_structp png, png_infop info, const RgbaImage& image,
                     png_bytep* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, uint32_t(image.width), uint32_t(image.height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool DecodePng(RgbaImage& image, std::span<const uint8_t> file, int32_t colourKey,
               std::string_view name) {
  const bool signature = file.size() >= 4 && file[1] == 'P' && file[2] == 'N' && file[3] == 'G';
  PngReader reader;
  if (!signature || reader.info == nullptr) {
    image.Clear();
    return false;
  }
  PngSource source{file.data(), file.size(), 0};
  png_set_read_fn(reader.png, &source, ReadFromSource);
  png_set_user_limits(reader.png, kMaxImageSide, kMaxImageSide);
  // Room for the row pointers of the tallest image the limits allow: nothing may be
  // allocated as a C++ object where libpng's longjmp can pass.
  std::vector<png_bytep> rows(kMaxImageSide + 1);
  const std::string text(name);
  if (!ReadPngGuarded(reader.png, reader.info, image, rows.data(), colourKey, text.c_str())) {
    image.Clear();
    return false;
  }
  return true;
}

bool EncodePng(const RgbaImage& image, std::vector<uint8_t>& out) {
  PngWriter writer;
  if (image.Empty() || writer.info == nullptr) return false;
  png_set_write_fn(writer.png, &out, AppendToVector, FlushNothing);
  std::vector<png_bytep> rows(size_t(image.height));
  for (int32_t y = 0; y < image.height; ++y) rows[y] = const_cast<png_bytep>(image.Row(y));
  return WritePngGuarded(writer.png, writer.info, image, rows.data());
}

}  // namespace qrv
