// Maths in degrees with guards at the edges of their domains, and the small integer and
// double helpers translated code calls.
#include <cmath>

#include "quorvia/values.h"

namespace qrv {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace

double SinDeg(double degrees) {
  return std::sin(degrees * kRadiansPerDegree);
}
double CosDeg(double degrees) {
  return std::cos(degrees * kRadiansPerDegree);
}
double TanDeg(double degrees) {
  return std::tan(degrees * kRadiansPerDegree);
}
double ATan2Deg(double y, double x) {
  return std::atan2(y, x) * kDegreesPerRadian;
}

double ASinDeg(double x) {
  if (x >= 1) return 90;
  if (x <= -1) return -90;
  return std::asin(x) * kDegreesPerRadian;
}

double ACosDeg(double x) {
  if (x >= 1) return 0;
  if (x <= -1) return 180;
  return std::acos(x) * kDegreesPerRadian;
}

double Power(double base, double exponent) {
  return std::pow(base, exponent);
}

double FloatMod(double x, double y) {
  return y == 0 ? 0 : std::fmod(x, y);
}

int32_t IntMod(int32_t a, int32_t b) {
  // INT32_MIN % -1 overflows in C; its true remainder is 0.
  if (b == 0 || b == -1) return 0;
  return a % b;
}

double SquareRoot(double x) {
  return x < 0 ? std::nan("") : std::sqrt(x);
}

double AbsNumber(double x) {
  return std::fabs(x);
}

int32_t AbsInteger(int32_t x) {
  // Negating in unsigned arithmetic leaves the int32 minimum as it is, without overflow.
  uint32_t magnitude = x < 0 ? 0u - static_cast<uint32_t>(x) : static_cast<uint32_t>(x);
  return static_cast<int32_t>(magnitude);
}

}  // namespace qrv
