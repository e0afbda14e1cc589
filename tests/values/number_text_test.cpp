// Number texts: the documented cases, and every digit of NumberText against a reference
// built from printf's "%.9e" digits on many random doubles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "quorvia/values.h"

namespace {

// The 10-significant-digit text, built the slow way: printf's exact decimal expansion,
// rounded half away from zero by hand, then laid out.
std::string ReferenceText(double value) {
  if (value == 0) return "0";
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, "%.800e", std::fabs(value));
  std::string printed(buffer);
  size_t e = printed.find('e');
  int exponent = std::atoi(printed.c_str() + e + 1);
  std::string digits = printed.substr(0, 1) + printed.substr(2, 9);
  if (printed[11] >= '5') {  // round the tenth digit up, carrying
    int i = 9;
    for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
    if (i < 0) {
      digits = "1" + digits.substr(0, 9);
      ++exponent;
    } else {
      ++digits[i];
    }
  }
  std::string text;
  if (exponent < -1 || exponent > 9) {
    std::string fraction = digits.substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text = digits.substr(0, 1) + "." + fraction + tail;
  } else {
    std::string all = exponent >= 0 ? digits : "0" + digits;
    size_t point = exponent >= 0 ? exponent + 1 : 1;
    text = all.substr(0, point) + "." + all.substr(point);
    text.erase(text.find_last_not_of('0') + 1);
  }
  if (value < 0) text = "-" + text;
  if (text.back() == '.') text.pop_back();
  return text;
}

TEST(NumberText, DocumentedCases) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {5.0, "5"},
      {-0.25, "-0.25"},
      {0.0, "0"},
      {-0.0, "0"},
      {1.0 / 3.0, "0.3333333333"},
      {1234567890.5, "1234567891"},
      {1e20, "1.e+020"},
      {0.001, "1.e-003"},
      {static_cast<double>(0.1f), "0.1000000015"},
      {123456.789, "123456.789"},
      {0.5, "0.5"},
      {9999999999.5, "1.e+010"},  // rounds up into the exponent form
      {9999999999.4, "9999999999"},
      {std::ldexp(1.0, -15), "3.051757813e-005"},  // an exact tie: half away from zero
      {12345678905.0, "1.234567891e+010"},
      {2.5, "2.5"},
      {0.0999999999996, "0.1"},
      {0.01, "1.e-002"},
      {-1.5e-300, "-1.5e-300"},
      {1.7976931348623157e308, "1.797693135e+308"},
      {4.9e-324, "4.940656458e-324"},
      {2147483647.0, "2147483647"},
      {1e9, "1000000000"},
      {HUGE_VAL, "inf"},
      {-HUGE_VAL, "-inf"},
      {std::nan(""), "nan"},
  };
  for (const Case& c : cases) {
    qrv::RtString text = qrv::NumberText(c.value);
    EXPECT_STREQ(text.c_str(), c.text) << c.value;
    EXPECT_EQ(qrv::NumberTextLength(c.value), static_cast<int32_t>(std::strlen(c.text)));
    EXPECT_EQ(text.Capacity(), 80u);
  }
}

TEST(NumberText, EveryDigitMatchesTheReference) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  std::uniform_int_distribution<int> smallExponent(-4, 12);
  for (int i = 0; i < 100000; ++i) {
    double value;
    std::uniform_int_distribution<int64_t> tenDigits(1000000000, 9999999999);
    switch (i % 6) {
      case 0:
        value = mantissa(random) * std::pow(10.0, exponent(random));
        break;
      case 1:
        value = mantissa(random) * std::pow(10.0, smallExponent(random));
        break;
      case 2: {  // any bit pattern that is a finite double
        uint64_t bits = random();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value)) value = 1.0;
        break;
      }
      case 4:
        value = static_cast<double>(tenDigits(random)) + 0.5;
        break;  // exact ties
      case 5:
        value = static_cast<double>(tenDigits(random) * 10 + 5) * std::pow(10.0, i % 5);
        break;
      default:  // just below a power of ten: rounds up to the next exponent or not
        value = std::nextafter(std::pow(10.0, smallExponent(random)), 0.0) *
                (1 - std::ldexp(static_cast<double>(random() % 64), -40));
    }
    if (random() & 1) value = -value;
    ASSERT_EQ(std::string(qrv::NumberText(value).c_str()), ReferenceText(value))
        << std::hexfloat << value;
  }
}

TEST(NumberText, IntegerTextAndLengths) {
  struct Case {
    int32_t value;
    const char* text;
  } cases[] = {
      {0, "0"}, {7, "7"}, {-12, "-12"}, {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
  for (const Case& c : cases) {
    qrv::RtString text = qrv::IntegerText(c.value);
    EXPECT_STREQ(text.c_str(), c.text);
    EXPECT_EQ(text.Capacity(), 32u);
    EXPECT_EQ(qrv::IntegerTextLength(c.value), static_cast<int32_t>(text.Length()));
  }
}

}  // namespace
