// The host side of movies: a movie file in memory decoded frame by frame into RGBA pictures
// at its own size, with its whole sound track converted to the sound device's format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qrv::platform {

struct MovieSource;

// Null when the bytes hold no video stream that can be decoded. The bytes must stay alive
// until the movie is closed.
MovieSource* OpenMovie(const uint8_t* bytes, size_t size);
void CloseMovie(MovieSource* movie);

int32_t MovieWidth(const MovieSource* movie);
int32_t MovieHeight(const MovieSource* movie);
// Milliseconds from the first picture to the end; 0 when the file does not say.
double MovieLength(const MovieSource* movie);
// The sound track as 16-bit stereo samples at the device rate; empty without one.
const std::vector<uint8_t>& MovieSound(const MovieSource* movie);

// The next picture: width x height RGBA, rows from the top, and when it is due (ms from
// the movie's start). False at the end of the movie or on damaged data.
bool NextMovieFrame(MovieSource* movie, std::vector<uint8_t>& rgba, double& dueMs);
// Back to the first picture. False when the file cannot seek.
bool RewindMovie(MovieSource* movie);

}  // namespace qrv::platform
