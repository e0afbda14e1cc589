// Hands a fuzz input to a stream reader in pieces: the first byte chooses the piece
// size (1..limit), as receives cut a stream anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Calls feed(piece) for each piece until it returns false; the stream without its first byte.
template <class Feed>
std::string_view FeedInPieces(const uint8_t* data, size_t size, size_t limit, Feed&& feed) {
  if (size == 0) return {};
  size_t piece = data[0] % limit + 1;
  std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  for (size_t at = 0; at < stream.size(); at += piece) {
    if (!feed(stream.substr(at, piece))) break;
  }
  return stream;
}
