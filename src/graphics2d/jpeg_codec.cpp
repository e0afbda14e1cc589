// JPEG files through libjpeg, read from and written to memory. The library's error
// exit jumps back here, so damaged data or data that is not JPEG at all makes the
// decode fail instead of ending the program. CMYK files are turned into RGB.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "graphics2d/image_codec.h"

namespace qrv {
namespace {

struct JpegError {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to us
  jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}
void OnJpegMessage(j_common_ptr) {}

void InstallErrorManager(JpegError& error) {
  jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  error.manager.output_message = OnJpegMessage;
}

struct JpegDecoder {
  jpeg_decompress_struct info{};
  JpegError error{};
  bool created = false;
  ~JpegDecoder() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

struct JpegEncoder {
  jpeg_compress_struct info{};
  JpegError error{};
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  ~JpegEncoder() {
    if (created) jpeg_destroy_compress(&info);
    std::free(buffer);
  }
};

// Adobe's CMYK files store the inks inverted; others store them plain.
void CmykToRgb(RgbaImage& image, bool inverted) {
  uint8_t* p = image.pixels.data();
  for (uint8_t* end = p + image.pixels.size(); p != end; p += 4) {
    const unsigned k = inverted ? p[3] : 255u - p[3];
    for (int i = 0; i < 3; ++i) p[i] = uint8_t((inverted ? p[i] : 255u - p[i]) * k / 255);
    p[3] = 255;
  }
}

// The decode proper. libjpeg errors leave it by longjmp, so it holds no C++ objects.
bool ReadJpegSteps(JpegDecoder& d, std::span<const uint8_t> file, RgbaImage& image) {
  jpeg_create_decompress(&d.info);
  d.created = true;
  jpeg_mem_src(&d.info, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d.info, TRUE);
  if (!ImageSizeAllowed(d.info.image_width, d.info.image_height)) return false;
  const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
  d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  d.info.do_fancy_upsampling = FALSE;
  jpeg_start_decompress(&d.info);
  if (d.info.output_components != 4) return false;
  image.Resize(int32_t(d.info.output_width), int32_t(d.info.output_height));
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = image.Row(int32_t(d.info.output_scanline));
    jpeg_read_scanlines(&d.info, &row, 1);
  }
  jpeg_finish_decompress(&d.info);
  if (cmyk) CmykToRgb(image, d.info.saw_Adobe_marker);
  return true;
}

bool ReadJpegGuarded(JpegDecoder& d, std::span<const uint8_t> file, RgbaImage& image) {
  if (setjmp(d.error.jump)) return false;
  return ReadJpegSteps(d, file, image);
}

bool WriteJpegGuarded(JpegEncoder& e, const RgbaImage& image, int quality) {
  if (setjmp(e.error.jump)) return false;
  jpeg_create_compress(&e.info);
  e.created = true;
  jpeg_mem_dest(&e.info, &e.buffer, &e.size);
  e.info.image_width = uint32_t(image.width);
  e.info.image_height = uint32_t(image.height);
  e.info.input_components = 4;  // the fourth byte, alpha, is skipped
  e.info.in_color_space = JCS_EXT_RGBX;
  jpeg_set_defaults(&e.info);
  jpeg_set_quality(&e.info, quality, TRUE);
  jpeg_start_compress(&e.info, TRUE);
  while (e.info.next_scanline < e.info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.Row(int32_t(e.info.next_scanline)));
    jpeg_write_scanlines(&e.info, &row, 1);
  }
  jpeg_finish_compress(&e.info);
  return true;
}

}  // namespace

bool DecodeJpeg(RgbaImage& image, std::span<const uint8_t> file) {
  JpegDecoder decoder;
  InstallErrorManager(decoder.error);
  decoder.info.err = &decoder.error.manager;
  if (file.empty() || !ReadJpegGuarded(decoder, file, image)) {
    image.Clear();
    return false;
  }
  return true;
}

bool EncodeJpeg(const RgbaImage& image, std::vector<uint8_t>& out, int quality) {
  if (image.Empty()) return false;
  JpegEncoder encoder;
  InstallErrorManager(encoder.error);
  encoder.info.err = &encoder.error.manager;
  if (!WriteJpegGuarded(encoder, image, quality)) return false;
  out.insert(out.end(), encoder.buffer, encoder.buffer + encoder.size);
  return true;
}

}  // namespace qrv
