// Fuzz target: an arbitrary server answer read in pieces of varying size; the body never
// exceeds a declared length and the pieces always come from the input.
#include "net/http_response.h"

#include <cstdlib>

#include "fuzz_chunks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::net::HttpResponseReader reader;
  int64_t body = 0;
  FeedInPieces(data, size, 64, [&](std::string_view piece) {
    std::string_view part = reader.Feed(piece);
    if (!part.empty() &&
        (part.data() < piece.data() || part.data() + part.size() > piece.data() + piece.size())) {
      std::abort();
    }
    body += static_cast<int64_t>(part.size());
    return true;
  });
  if (body != reader.BodyBytes()) std::abort();
  if (reader.ContentLength() >= 0 && body > reader.ContentLength()) std::abort();
  return 0;
}
