// Floating-point numbers to and from decimal text. Where the standard library lacks
// <charconv>'s floating-point part (the browser's has only its integer part), the C library
// does the same work with the same results: "%.*e" prints the exact expansion rounded to
// even, and strtod/strtof round correctly. Only the forms that from_chars refuses or reads
// differently (leading blanks, '+', hexadecimal) are sorted out before strtod sees them.
#include "values/float_chars.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qrv {

#if defined(__cpp_lib_to_chars)

char* ScientificChars(char* first, char* last, double value, int precision) {
  return std::to_chars(first, last, value, std::chars_format::scientific, precision).ptr;
}

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}

std::from_chars_result FloatFromChars(const char* first, const char* last, float& value) {
  return std::from_chars(first, last, value);
}

#else

char* ScientificChars(char* first, char* last, double value, int precision) {
  const long room = last - first;
  const int length = std::snprintf(first, static_cast<size_t>(room), "%.*e", precision, value);
  return (length < 0 || length >= room) ? last : first + length;
}

namespace {

template <typename T, T (*kConvert)(const char*, char**)>
std::from_chars_result Parse(const char* first, const char* last, T& value) {
  const char* digits = first;
  if (digits != last && *digits == '-') ++digits;
  if (digits == last || *digits == ' ' || *digits == '\t' || *digits == '+' ||
      *digits == '-' || (*digits >= '\n' && *digits <= '\r')) {
    return {first, std::errc::invalid_argument};
  }
  // In the general format "0x1p3" is the number 0 followed by other text.
  if (*digits == '0' && digits + 1 != last && (digits[1] == 'x' || digits[1] == 'X')) {
    value = digits == first ? T(0) : -T(0);
    return {digits + 1, std::errc()};
  }
  const std::string text(first, last);  // strtod reads up to a terminator
  char* end = nullptr;
  errno = 0;
  const T result = kConvert(text.c_str(), &end);
  if (end == text.c_str()) return {first, std::errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  if (errno == ERANGE) return {stop, std::errc::result_out_of_range};
  value = result;
  return {stop, std::errc()};
}

}  // namespace

std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value) {
  return Parse<double, std::strtod>(first, last, value);
}

std::from_chars_result FloatFromChars(const char* first, const char* last, float& value) {
  return Parse<float, std::strtof>(first, last, value);
}

#endif

}  // namespace qrv
