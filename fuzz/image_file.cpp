// Fuzz target: LoadImageFile as a whole (BMP, then PNG, then JPEG) on arbitrary bytes
// written to a file, and every encoder on whatever decodes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "quorvia/graphics2d.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / "qrv_fuzz_image_file.bin").string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  qrv::RgbaImage image;
  if (qrv::LoadImageFile(image, path, 0x8000FF)) {
    std::vector<uint8_t> encoded;
    qrv::EncodeBmp(image, encoded);
    qrv::EncodePng(image, encoded);
    qrv::EncodeJpeg(image, encoded);
  }
  return 0;
}
