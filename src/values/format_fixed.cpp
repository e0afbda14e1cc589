// FormatFixed: fixed-point text padded to a width. The result starts with room for 127
// characters and grows when the width or the number of decimals asks for more.
#include <algorithm>
#include <cstdio>

#include "quorvia/values.h"

namespace qrv {

RtString FormatFixed(double width, double decimals, double value) {
  // printf takes int widths; a width near the int range would make a text it cannot count.
  constexpr int32_t kLimit = 1 << 20;
  int32_t w = std::clamp(TruncateToInteger(width), -kLimit, kLimit);
  int32_t d = std::clamp(TruncateToInteger(decimals), 0, kLimit);
  RtString text;
  text.Reserve(127, false);
  int length = std::snprintf(text.Data(), text.Capacity(), "%*.*f", w, d, value);
  if (length >= static_cast<int>(text.Capacity())) {
    text.Reserve(static_cast<uint32_t>(length), false);
    length = std::snprintf(text.Data(), text.Capacity(), "%*.*f", w, d, value);
  }
  if (length < 0) text.Data()[0] = 0;
  text.FixLength();
  return text;
}

}  // namespace qrv
