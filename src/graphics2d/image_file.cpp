// Image files by name: loading tries the three decoders in a fixed order whatever the
// name says, saving picks the encoder from the name's ending.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "graphics2d/image_codec.h"
#include "quorvia/files.h"

namespace qrv {
namespace {

// Whether the first bytes are those of a format a decoder takes: "BM", "?PNG" or a JPEG
// start-of-image marker. Any other file is refused before the rest of it is read.
bool HasImageSignature(const uint8_t* head, int32_t size) {
  return (size >= 2 && head[0] == 'B' && head[1] == 'M') ||
         (size >= 4 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') ||
         (size >= 2 && head[0] == 0xFF && head[1] == 0xD8);
}

// The whole source: a memory block is used where it lies, a disk file that starts like
// an image is read into bytes (a file too large for memory fails the load).
bool ReadSource(FileReader& reader, std::string_view name, std::unique_ptr<uint8_t[]>& bytes,
                std::span<const uint8_t>& file) {
  if (!reader.OpenForReading(std::string(name).c_str())) return false;
  if (reader.HasMemory()) {
    file = std::span<const uint8_t>(reader.Memory(), size_t(reader.Size()));
    return HasImageSignature(reader.Memory(), reader.Size());
  }
  const int32_t size = reader.Size();
  uint8_t head[4];
  const int32_t headSize = std::min<int32_t>(size, 4);
  if (!reader.Read(head, headSize) || !HasImageSignature(head, headSize)) return false;
  bytes.reset(new (std::nothrow) uint8_t[size_t(size)]);
  if (bytes == nullptr) return false;
  std::memcpy(bytes.get(), head, size_t(headSize));
  if (!reader.Read(bytes.get() + headSize, size - headSize)) return false;
  file = std::span<const uint8_t>(bytes.get(), size_t(size));
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
  std::unique_ptr<uint8_t[]> bytes;
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
