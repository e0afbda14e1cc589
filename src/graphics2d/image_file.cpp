// Image files by name: loading tries the three decoders in a fixed order whatever the
// name says, saving picks the encoder from the name's ending.
#include <cctype>
#include <climits>
#include <string>

#include "graphics2d/image_codec.h"
#include "quorvia/files.h"

namespace qrv {
namespace {

// The whole source: a memory block is used where it lies, a disk file is read into bytes.
bool ReadSource(FileReader& reader, std::string_view name, std::vector<uint8_t>& bytes,
                std::span<const uint8_t>& file) {
  if (!reader.OpenForReading(std::string(name).c_str())) return false;
  if (reader.HasMemory()) {
    file = std::span<const uint8_t>(reader.Memory(), size_t(reader.Size()));
    return true;
  }
  bytes.resize(size_t(reader.Size()));
  if (!bytes.empty() && !reader.Read(bytes.data(), reader.Size())) return false;
  file = bytes;
  return true;
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
  if (bytes.size() > size_t(INT32_MAX)) return false;
  FileReader writer;
  if (!writer.OpenForWriting(std::string(name).c_str())) return false;
  const bool written = writer.Write(bytes.data(), int32_t(bytes.size()));
  return writer.Close() && written;
}

}  // namespace

bool LoadImageFile(RgbaImage& image, std::string_view name, int32_t colourKey) {
  FileReader reader;
  std::vector<uint8_t> bytes;
  std::span<const uint8_t> file;
  if (!ReadSource(reader, name, bytes, file)) {
    image.Clear();
    return false;
  }
  return DecodeBmp(image, file, colourKey) || DecodePng(image, file, colourKey, name) ||
         DecodeJpeg(image, file);
}

bool SaveImageFile(std::string_view name, const RgbaImage& image) {
  if (IsMemoryName(std::string(name).c_str())) return false;
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
