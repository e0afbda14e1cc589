// Fuzz target: an arbitrary server answer read in chunks of varying size; the body never
// exceeds a declared length and the pieces always come from the input.
#include "net/http_response.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the chunk size, as receives cut the stream anywhere.
  size_t chunk = data[0] % 64 + 1;
  std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
  qrv::net::HttpResponseReader reader;
  int64_t body = 0;
  for (size_t at = 0; at < answer.size(); at += chunk) {
    std::string_view piece = answer.substr(at, chunk);
    std::string_view part = reader.Feed(piece);
    if (!part.empty() &&
        (part.data() < piece.data() || part.data() + part.size() > piece.data() + piece.size())) {
      std::abort();
    }
    body += static_cast<int64_t>(part.size());
  }
  if (body != reader.BodyBytes()) std::abort();
  if (reader.ContentLength() >= 0 && body > reader.ContentLength()) std::abort();
  return 0;
}
