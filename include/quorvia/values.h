// Runtime values: the string type, number/text conversions and comparisons,
// dynamic arrays, maths and random numbers, and the string functions.
#pragma once

#include <cstdint>

#include "quorvia/rt_array.h"
#include "quorvia/rt_string.h"

namespace qrv {

// --- Number texts and conversions -------------------------------------------------------

// Decimal text of an int32 ("-12", "0").
RtString IntegerText(int32_t value);
// The runtime's text of a number: 10 significant digits, '1.e+020' exponent form.
RtString NumberText(double value);
int32_t NumberTextLength(double value);
int32_t IntegerTextLength(int32_t value);

// The number a text starts with (leading blanks skipped, 0 when there is none).
double TextToNumber(const char* text);
inline double TextToNumber(const RtString& text) {
  return TextToNumber(text.c_str());
}
// The integer a text starts with; values outside the int32 range wrap as the C library's.
int32_t TextToInteger(const char* text);
inline int32_t TextToInteger(const RtString& text) {
  return TextToInteger(text.c_str());
}

// A double truncated toward zero; values beyond the int32 range saturate, NaN gives 0.
int32_t TruncateToInteger(double value);

}  // namespace qrv
