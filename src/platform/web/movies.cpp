// Movies in the browser: there is no decoder in the browser build, so every movie fails to
// open, as a damaged one does.
#include "platform/movie_host.h"

namespace qrv::platform {

MovieSource* OpenMovie(const uint8_t* bytes, size_t size) { return nullptr; }

void CloseMovie(MovieSource* movie) {}

int32_t MovieWidth(const MovieSource* movie) { return 0; }

int32_t MovieHeight(const MovieSource* movie) { return 0; }

double MovieLength(const MovieSource* movie) { return 0; }

const std::vector<uint8_t>& MovieSound(const MovieSource* movie) {
  static const std::vector<uint8_t> kNone;
  return kNone;
}

bool NextMovieFrame(MovieSource* movie, std::vector<uint8_t>& rgba, double& dueMs) {
  return false;
}

bool RewindMovie(MovieSource* movie) { return false; }

}  // namespace qrv::platform
