// Number texts: the decimal text of an int32 and the runtime's text of a double.
#include <cstdio>

#include "quorvia/values.h"

namespace qrv {

RtString IntegerText(int32_t value) {
  RtString text;
  text.Reserve(15, false);
  std::snprintf(text.Data(), text.Capacity(), "%d", value);
  text.FixLength();
  return text;
}

// Interim form until the 10-significant-digit rules land with the conversions.
RtString NumberText(double value) {
  RtString text;
  text.Reserve(63, false);
  std::snprintf(text.Data(), text.Capacity(), "%.10g", value);
  text.FixLength();
  return text;
}

}  // namespace qrv
