// Fuzz target: arbitrary bytes opened as a movie, its sound track decoded and its first
// pictures decoded, scaled and rewound as PlayMovie does.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/movie_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qrv::platform::MovieSource* movie = qrv::platform::OpenMovie(data, size);
  if (movie == nullptr) return 0;
  std::vector<uint8_t> picture;
  double due = 0;
  for (int pass = 0; pass < 2; ++pass) {
    for (int frame = 0; frame < 4 && qrv::platform::NextMovieFrame(movie, picture, due); ++frame) {
    }
    if (!qrv::platform::RewindMovie(movie)) break;
  }
  qrv::platform::CloseMovie(movie);
  return 0;
}
