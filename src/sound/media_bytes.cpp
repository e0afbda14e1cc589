// Whole-file reads for the decoders.
#include "sound/media_bytes.h"

namespace qrv {

// Larger files are refused rather than read: no sound, piece or movie of a game needs more.
constexpr int32_t kMostBytes = 1 << 30;

bool MediaBytes::Open(const char* name) {
  Close();
  if (!reader_.OpenForReading(name) || reader_.Size() <= 0 || reader_.Size() > kMostBytes) {
    Close();
    return false;
  }
  const int32_t size = reader_.Size();
  if (reader_.HasMemory()) {
    bytes_ = {reader_.Memory(), static_cast<size_t>(size)};
    return true;
  }
  copy_.resize(static_cast<size_t>(size));
  if (!reader_.Read(copy_.data(), size)) {
    Close();
    return false;
  }
  reader_.Close();
  bytes_ = copy_;
  return true;
}

void MediaBytes::Close() {
  reader_.Close();
  copy_.clear();
  copy_.shrink_to_fit();
  bytes_ = {};
}

}  // namespace qrv
