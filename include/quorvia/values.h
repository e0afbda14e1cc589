// Runtime values: the string type, number/text conversions and comparisons,
// dynamic arrays, maths and random numbers, and the string functions.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

// Decimal text of an int32 ("-12", "0").
RtString IntegerText(int32_t value);
// The runtime's text of a number: 10 significant digits, '1.e+020' exponent form.
RtString NumberText(double value);

}  // namespace qrv
