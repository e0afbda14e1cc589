// A media file's whole content in memory: a "mem://" block read in place, a disk file read
// once. Sounds, music and movies are all decoded from such bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "quorvia/files.h"

namespace qrv {

class MediaBytes {
 public:
  // Reads the file or opens the block named (after media-name resolution by the caller).
  // False when nothing can be opened or the content is empty or larger than the limit.
  bool Open(const char* name);
  void Close();
  std::span<const uint8_t> Bytes() const { return bytes_; }

 private:
  FileReader reader_;  // keeps a memory block alive while its bytes are in use
  std::vector<uint8_t> copy_;
  std::span<const uint8_t> bytes_;
};

}  // namespace qrv
