// Hands a fuzz input to the runtime as a live "mem://" block, the way loaders see data.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "quorvia/files.h"

inline qrv::RtString FuzzInputAsBlock(const uint8_t* data, size_t size) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size + 1]);
  if (size > 0) std::memcpy(copy.get(), data, size);
  return qrv::RegisterMemoryBlock(std::move(copy), static_cast<int32_t>(size));
}
