// Encrypt and Decrypt: Blowfish over zero-padded blocks, carried as hexadecimal text.
#include <algorithm>
#include <vector>

#include "quorvia/frame.h"
#include "quorvia/values.h"
#include "values/blowfish.h"

namespace qrv {
namespace {

// A hexadecimal digit as the runtime reads it (after lower-casing): no validation, so any
// byte has a value, and the byte built from two of them wraps to 8 bits.
unsigned DigitValue(char c) {
  unsigned char lower = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower <= '9' ? lower - 48u : lower - 87u;
}

}  // namespace

RtString Encrypt(const RtString& key, const RtString& plain) {
  size_t padded = (static_cast<size_t>(plain.Length()) + 7) / 8 * 8;
  if (padded > INT32_MAX / 2) ErrorStop(7);  // the text would not fit a string
  std::vector<unsigned char> blocks(padded, 0);
  std::copy_n(plain.c_str(), plain.Length(), blocks.begin());
  BlowfishBlocks(key.c_str(), key.Length(), blocks.data(), blocks.size(), true);
  return HexBytes(blocks.data(), static_cast<int32_t>(padded), false);
}

RtString Decrypt(const RtString& key, const RtString& hex) {
  // Only whole blocks decrypt; a shorter tail is left out.
  size_t count = hex.Length() / 16 * 8;
  std::vector<unsigned char> blocks(count);
  for (size_t i = 0; i < count; ++i) {
    blocks[i] =
        static_cast<unsigned char>(DigitValue(hex[2 * i]) * 16 + DigitValue(hex[2 * i + 1]));
  }
  BlowfishBlocks(key.c_str(), key.Length(), blocks.data(), blocks.size(), false);
  size_t end = 0;
  while (end < count && blocks[end] != 0) ++end;
  return RtString(reinterpret_cast<const char*>(blocks.data()), static_cast<uint32_t>(end));
}

}  // namespace qrv
