// Image files by name: loading tries the three decoders in a fixed order whatever the
// name says, saving picks the encoder from the name's ending.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics2d/image_codec.h"

namespace qrv {
namespace {

bool IsMemoryName(std::string_view name) { return name.starts_with("mem://"); }

std::string HostPath(std::string_view name) {
  std::string path(name);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool ReadWholeFile(std::string_view name, std::vector<uint8_t>& bytes) {
  if (IsMemoryName(name)) return false;
  std::ifstream in(HostPath(name), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  name.remove_prefix(name.size() - ending.size());
  for (size_t i = 0; i < ending.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != ending[i]) return false;
  }
  return true;
}

// Writes the whole encoded file; an existing file is replaced only once the encoding
// has succeeded.
bool WriteWholeFile(std::string_view name, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(HostPath(name).c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool LoadImageFile(RgbaImage& image, std::string_view name, int32_t colourKey) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(name, bytes)) {
    image.Clear();
    return false;
  }
  return DecodeBmp(image, bytes, colourKey) || DecodePng(image, bytes, colourKey, name) ||
         DecodeJpeg(image, bytes);
}

bool SaveImageFile(std::string_view name, const RgbaImage& image) {
  if (IsMemoryName(name)) return false;
  std::vector<uint8_t> bytes;
  bool encoded = false;
  if (name.size() > 4 && EndsWithNoCase(name, ".png")) {
    encoded = EncodePng(image, bytes);
  } else if (EndsWithNoCase(name, "jpg")) {
    encoded = EncodeJpeg(image, bytes, 80);
  } else {
    encoded = EncodeBmp(image, bytes);
  }
  return encoded && WriteWholeFile(name, bytes);
}

}  // namespace qrv
