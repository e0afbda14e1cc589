// Number texts: the decimal text of an int32 and the runtime's text of a double
// (10 significant digits; exponents outside -1..9 in the '1.e+020' form).
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "quorvia/values.h"
#include "values/float_chars.h"

namespace qrv {
namespace {

// Longest text: '-', 10 digits, '.', 'e', sign, 3 exponent digits.
constexpr int kNumberTextMax = 32;

// A double's exact decimal expansion has at most 767 significant digits.
constexpr int kExactDigits = 770;

// Whether the magnitude lies exactly halfway between two 10-digit values and its tenth digit
// was kept (rounded down). Only an expansion whose 17-digit rounding reads ...5000000 after
// the tenth digit can be a tie; those few are confirmed against the exact expansion.
bool IsTieRoundedDown(double magnitude, char tenthDigit) {
  char near[40];
  *ScientificChars(near, near + sizeof near, magnitude, 16) = 0;
  if (near[10] != tenthDigit || std::strncmp(near + 11, "5000000", 7) != 0) return false;
  char exact[kExactDigits + 16];
  char* end = ScientificChars(exact, exact + sizeof exact, magnitude, kExactDigits);
  const char* tail = exact + 12;  // digits after the eleventh
  const char* e = std::find(tail, static_cast<const char*>(end), 'e');
  return exact[11] == '5' && std::all_of(tail, e, [](char c) { return c == '0'; });
}

// The ten significant digits of a non-zero finite magnitude, rounded half away from zero,
// and the decimal exponent of the first one.
int SignificantDigits(double magnitude, char (&significant)[10]) {
  char digits[40];
  *ScientificChars(digits, digits + sizeof digits, magnitude, 9) = 0;
  int exponent = std::atoi(digits + 12);
  significant[0] = digits[0];
  std::memcpy(significant + 1, digits + 2, 9);
  // The formatter breaks ties to even; a tie it rounded down (to an even digit, so no
  // carry can follow) goes up instead.
  if (IsTieRoundedDown(magnitude, significant[9])) ++significant[9];
  return exponent;
}

// Writes the text of a non-zero finite magnitude; returns its length.
int WriteSignificant(double magnitude, char* out) {
  char significant[10];
  int exponent = SignificantDigits(magnitude, significant);
  int used = 10;
  while (used > 1 && significant[used - 1] == '0') --used;

  char* p = out;
  if (exponent < -1 || exponent > 9) {
    *p++ = significant[0];
    *p++ = '.';
    std::memcpy(p, significant + 1, used - 1);
    p += used - 1;
    *p++ = 'e';
    *p++ = exponent < 0 ? '-' : '+';
    int e = std::abs(exponent);
    *p++ = static_cast<char>('0' + e / 100);
    *p++ = static_cast<char>('0' + e / 10 % 10);
    *p++ = static_cast<char>('0' + e % 10);
  } else if (exponent == -1) {
    *p++ = '0';
    *p++ = '.';
    std::memcpy(p, significant, used);
    p += used;
  } else {
    // The integer part always has all its digits; the point goes after digit `exponent`.
    int whole = exponent + 1;
    std::memcpy(p, significant, whole);
    p += whole;
    if (used > whole) {
      *p++ = '.';
      std::memcpy(p, significant + whole, used - whole);
      p += used - whole;
    }
  }
  return static_cast<int>(p - out);
}

// The text of any double into out (at least kNumberTextMax bytes); returns its length.
int WriteNumberText(double value, char* out) {
  if (std::isnan(value)) return static_cast<int>(std::strlen(std::strcpy(out, "nan")));
  if (std::isinf(value)) {
    return static_cast<int>(std::strlen(std::strcpy(out, value < 0 ? "-inf" : "inf")));
  }
  if (value == 0) {  // both zeros
    out[0] = '0';
    return 1;
  }
  int sign = value < 0 ? 1 : 0;
  if (sign) out[0] = '-';
  return sign + WriteSignificant(std::fabs(value), out + sign);
}

}  // namespace

RtString IntegerText(int32_t value) {
  RtString text;
  text.Reserve(15, false);
  auto [end, ec] = std::to_chars(text.Data(), text.Data() + 15, value);
  *end = 0;
  text.FixLength();
  return text;
}

RtString NumberText(double value) {
  RtString text;
  text.Reserve(63, false);
  int length = WriteNumberText(value, text.Data());
  text.Data()[length] = 0;
  text.FixLength();
  return text;
}

int32_t NumberTextLength(double value) {
  char text[kNumberTextMax];
  return WriteNumberText(value, text);
}

int32_t IntegerTextLength(int32_t value) {
  char text[16];
  return static_cast<int32_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
}

}  // namespace qrv
