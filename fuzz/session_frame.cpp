// Fuzz target: an arbitrary byte stream cut into session frames, read in pieces of
// varying size. Every frame handed out keeps the rules.
#include "net/session_frame.h"

#include <cstdlib>

#include "fuzz_chunks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::net::FrameReader reader;
  size_t frameBytes = 0;
  std::string_view stream = FeedInPieces(data, size, 32, [&](std::string_view piece) {
    return reader.Feed(piece, [&](const qrv::net::Frame& frame) {
      if (frame.payload.size() > qrv::net::kMaxPayload || !qrv::net::KnownFrameType(frame.type)) {
        std::abort();
      }
      qrv::net::RecordName(frame.payload);
      qrv::net::ReadU16(frame.payload, 0);
      frameBytes += qrv::net::kFrameHeader + frame.payload.size();
      return true;
    });
  });
  if (frameBytes > stream.size()) std::abort();
  return 0;
}
