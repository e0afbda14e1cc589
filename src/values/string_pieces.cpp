// Cutting texts: Mid and trimming to a character set. Both take the stored length, so
// inner zero bytes are kept.
#include <bitset>

#include "quorvia/values.h"

namespace qrv {
namespace {

std::bitset<256> ByteSet(const RtString& set) {
  std::bitset<256> members;
  for (uint32_t i = 0; i < set.Length(); ++i) members.set(static_cast<unsigned char>(set[i]));
  return members;
}

bool InSet(const std::bitset<256>& set, char c) {
  return set.test(static_cast<unsigned char>(c));
}

}  // namespace

RtString Mid(const RtString& text, int32_t start, int32_t count) {
  int64_t length = text.Length();
  int64_t n = count < 0 ? length : count;
  if (int64_t{start} + n > length) n = length - start;
  if (n < 1 || start >= length || start < 0) return RtString();
  return RtString(text.c_str() + start, static_cast<uint32_t>(n));
}

RtString TrimLeft(const RtString& text, const RtString& set) {
  std::bitset<256> members = ByteSet(set);
  uint32_t first = 0;
  while (first < text.Length() && InSet(members, text[first])) ++first;
  return RtString(text.c_str() + first, text.Length() - first);
}

RtString TrimRight(const RtString& text, const RtString& set) {
  std::bitset<256> members = ByteSet(set);
  uint32_t end = text.Length();
  while (end > 0 && InSet(members, text[end - 1])) --end;
  return RtString(text.c_str(), end);
}

}  // namespace qrv
