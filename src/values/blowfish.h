// Blowfish in ECB mode over whole 8-byte blocks, each block read as two little-endian
// 32-bit words (first four bytes = left half). The cipher itself comes from libgcrypt.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qrv {

// Encrypts or decrypts count bytes (a multiple of 8) in place. An empty key acts as a key
// of one zero byte; bytes of a key beyond 72 never reach the key schedule.
void BlowfishBlocks(const char* key, uint32_t keyLength, unsigned char* bytes, size_t count,
                    bool encrypt);

}  // namespace qrv
