// Reading the media pack format: trailer, directory, and the safe unpacking of members.
#include "files/pack_format.h"

#include <lzo/lzo1x.h>

#include <cstring>
#include <new>

#include "files/files_internal.h"

namespace qrv {

namespace {

// LZO1X output grows by at most 255 bytes per input byte; anything claiming more is damaged.
constexpr int64_t kMaxExpansion = 256;

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

// Where a stored offset points: from the start, or from the end of the file.
int64_t AbsoluteOffset(const FileReader& pack, const PackDirectory& directory, int32_t offset) {
  return directory.endRelative ? static_cast<int64_t>(pack.Size()) + offset : offset;
}

}  // namespace

bool ReadPackDirectory(FileReader& pack, PackDirectory& directory) {
  directory = PackDirectory();
  int64_t size = pack.Size();
  uint8_t trailer[kPackTrailerSize];
  if (size < kPackTrailerSize || !pack.Seek(static_cast<int32_t>(size - kPackTrailerSize), 0) ||
      !pack.Read(trailer, kPackTrailerSize) || std::memcmp(trailer, kPackMagic, 3) != 0) {
    return false;
  }
  int32_t stored;
  std::memcpy(&stored, trailer + 3, 4);
  directory.endRelative = stored < 0;
  int64_t at = AbsoluteOffset(pack, directory, stored);
  const int64_t limit = size - kPackTrailerSize;
  if (at < 0 || at >= limit || !pack.Seek(static_cast<int32_t>(at), 0)) return false;
  for (;;) {
    uint8_t length = 0;
    if (at + 1 > limit || !pack.Read(&length, 1)) return false;
    at += 1;
    if (length == 0) return true;
    if (at + length + 8 > limit) return false;
    PackEntry entry;
    entry.name.resize(length);
    if (!pack.Read(entry.name.data(), length) || !pack.Read4(&entry.offset) ||
        !pack.Read4(&entry.storedSize)) {
      return false;
    }
    at += length + 8;
    directory.entries.push_back(std::move(entry));
  }
}

const PackEntry* FindPackEntry(const PackDirectory& directory, std::string_view name) {
  for (const PackEntry& entry : directory.entries) {
    if (EqualIgnoringCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

bool UnpackMember(FileReader& pack, const PackDirectory& directory, const PackEntry& entry,
                  std::unique_ptr<uint8_t[]>& bytes, int32_t& size) {
  int64_t start = AbsoluteOffset(pack, directory, entry.offset);
  int64_t stored = entry.storedSize;
  int32_t unpacked = 0;
  if (!LzoReady() || start < 0 || stored < 4 || start + stored > pack.Size() ||
      !pack.Seek(static_cast<int32_t>(start), 0) || !pack.Read4(&unpacked)) {
    return false;
  }
  const int64_t packed = stored - 4;
  if (unpacked < 0 || unpacked > packed * kMaxExpansion + 64) return false;
  std::unique_ptr<uint8_t[]> output(new (std::nothrow) uint8_t[unpacked > 0 ? unpacked : 1]);
  if (output == nullptr) return false;
  // A memory pack is unpacked where it lies; a disk pack is read in one piece first.
  const uint8_t* source = nullptr;
  std::unique_ptr<uint8_t[]> staging;
  if (pack.HasMemory()) {
    source = pack.Memory() + start + 4;
  } else {
    staging.reset(new (std::nothrow) uint8_t[packed > 0 ? packed : 1]);
    if (staging == nullptr || !pack.Read(staging.get(), static_cast<int32_t>(packed))) return false;
    source = staging.get();
  }
  lzo_uint produced = static_cast<lzo_uint>(unpacked);
  int result = lzo1x_decompress_safe(source, static_cast<lzo_uint>(packed), output.get(), &produced,
                                     nullptr);
  if (result != LZO_E_OK || produced != static_cast<lzo_uint>(unpacked)) return false;
  bytes = std::move(output);
  size = unpacked;
  return true;
}

}  // namespace qrv
