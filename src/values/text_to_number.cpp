// Reading numbers from text, and the one rule for turning a double into an int32.
#include <cmath>
#include <cstdlib>

#include "quorvia/values.h"

namespace qrv {

double TextToNumber(const char* text) {
  return text == nullptr ? 0.0 : std::strtod(text, nullptr);
}

int32_t TextToInteger(const char* text) {
  // The C library's atoi is strtol narrowed to int; spelled out here because atoi's
  // behaviour on overflow is otherwise left undefined.
  return text == nullptr ? 0 : static_cast<int32_t>(std::strtol(text, nullptr, 10));
}

int32_t TruncateToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value <= INT32_MIN) return INT32_MIN;
  if (value >= INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace qrv
