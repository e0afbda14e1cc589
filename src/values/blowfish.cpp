// Blowfish through libgcrypt. The library takes each 32-bit half most significant byte
// first; the runtime's blocks hold little-endian words, so each half is reversed around it.
#include "values/blowfish.h"

#include <gcrypt.h>

#include <algorithm>

#include "quorvia/frame.h"

namespace qrv {
namespace {

// The standard key schedule consumes 18 x 4 key bytes, cyclically.
constexpr uint32_t kKeyScheduleBytes = 72;

void ReverseHalves(unsigned char* bytes, size_t count) {
  for (size_t i = 0; i + 4 <= count; i += 4) std::reverse(bytes + i, bytes + i + 4);
}

gcry_cipher_hd_t OpenCipher(const char* key, uint32_t keyLength) {
  static const bool ready = gcry_check_version(nullptr) != nullptr;
  gcry_cipher_hd_t handle = nullptr;
  if (!ready || gcry_cipher_open(&handle, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, 0) != 0) {
    ErrorStop(7);
  }
  // Rare keys give repeated S-box entries; they are still valid keys for this cipher.
  gcry_cipher_ctl(handle, GCRYCTL_SET_ALLOW_WEAK_KEY, nullptr, 1);
  static const char kZeroKey[1] = {0};
  if (keyLength == 0) key = kZeroKey, keyLength = 1;
  gcry_error_t status = gcry_cipher_setkey(handle, key, std::min(keyLength, kKeyScheduleBytes));
  if (status != 0 && gcry_err_code(status) != GPG_ERR_WEAK_KEY) ErrorStop(7);
  return handle;
}

}  // namespace

void BlowfishBlocks(const char* key, uint32_t keyLength, unsigned char* bytes, size_t count,
                    bool encrypt) {
  count -= count % 8;
  if (count == 0) return;
  gcry_cipher_hd_t handle = OpenCipher(key, keyLength);
  ReverseHalves(bytes, count);
  gcry_error_t status = encrypt ? gcry_cipher_encrypt(handle, bytes, count, nullptr, 0)
                                : gcry_cipher_decrypt(handle, bytes, count, nullptr, 0);
  gcry_cipher_close(handle);
  if (status != 0) ErrorStop(7);
  ReverseHalves(bytes, count);
}

}  // namespace qrv
