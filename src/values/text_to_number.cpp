// Reading numbers from text, and the one rule for turning a double into an int32.
// Text is read as a decimal number only: a prefix that is not one ("nan", "info",
// the "x" of "0x1F") ends the number, and text with no decimal digits reads as 0.
#include <cmath>
#include <cstdlib>

#include "quorvia/values.h"

namespace qrv {
namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

const char* SkipDigits(const char* p) {
  while (IsDigit(*p)) ++p;
  return p;
}

// The end of the decimal number at text (sign, digits, point, digits, exponent), or text
// itself when no digit of a mantissa is there.
const char* DecimalNumberEnd(const char* text) {
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  const char* whole = p;
  p = SkipDigits(p);
  bool digits = p != whole;
  if (*p == '.') {
    const char* fraction = p + 1;
    p = SkipDigits(fraction);
    digits = digits || p != fraction;
  }
  if (!digits) return text;
  if (*p == 'e' || *p == 'E') {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (IsDigit(*exponent)) p = SkipDigits(exponent);
  }
  return p;
}

}  // namespace

double TextToNumber(const char* text) {
  if (text == nullptr) return 0.0;
  while (IsBlank(*text)) ++text;
  if (DecimalNumberEnd(text) == text) return 0.0;
  // The C library reads the same decimal form, except that it takes "0x" as the start of
  // a hexadecimal number: the decimal number there is the 0 before the 'x'.
  const char* digits = text + (*text == '+' || *text == '-' ? 1 : 0);
  if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return *text == '-' ? -0.0 : 0.0;
  return std::strtod(text, nullptr);
}

int32_t TextToInteger(const char* text) {
  // The C library's atoi is strtol narrowed to int; spelled out here because atoi's
  // behaviour on overflow is otherwise left undefined. Read as 64 bits on every host (long
  // has 32 on Windows, where strtol would clamp what other hosts wrap). Base 10 reads
  // decimal digits only.
  return text == nullptr ? 0 : static_cast<int32_t>(std::strtoll(text, nullptr, 10));
}

int32_t TruncateToInteger(double value) {
  if (std::isnan(value)) return 0;
  if (value <= INT32_MIN) return INT32_MIN;
  if (value >= INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(value);
}

}  // namespace qrv
