// Floating-point numbers to and from decimal text, with <charconv>'s rules everywhere.
#pragma once

#include <charconv>

namespace qrv {

// std::to_chars(first, last, value, std::chars_format::scientific, precision).ptr
char* ScientificChars(char* first, char* last, double value, int precision);
// std::from_chars(first, last, value) in its general format
std::from_chars_result DoubleFromChars(const char* first, const char* last, double& value);
std::from_chars_result FloatFromChars(const char* first, const char* last, float& value);

}  // namespace qrv
