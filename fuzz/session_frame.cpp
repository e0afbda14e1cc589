// Fuzz target: an arbitrary byte stream cut into session frames, in chunks of varying
// size. Every frame handed out keeps the rules; a broken stream stays refused.
#include "net/session_frame.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t chunk = data[0] % 32 + 1;
  std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  qrv::net::FrameReader reader;
  size_t frameBytes = 0;
  for (size_t at = 0; at < stream.size(); at += chunk) {
    bool fine = reader.Feed(stream.substr(at, chunk), [&](const qrv::net::Frame& frame) {
      if (frame.payload.size() > qrv::net::kMaxPayload || !qrv::net::KnownFrameType(frame.type)) {
        std::abort();
      }
      qrv::net::RecordName(frame.payload);
      qrv::net::ReadU16(frame.payload, 0);
      frameBytes += qrv::net::kFrameHeader + frame.payload.size();
      return true;
    });
    if (!fine) break;
  }
  if (frameBytes > stream.size()) std::abort();
  return 0;
}
