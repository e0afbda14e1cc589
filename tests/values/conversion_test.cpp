// Reading numbers from text, FormatFixed, the comparison family and the three-way
// comparisons, and the maths functions' guards.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "quorvia/values.h"

namespace {

using qrv::Compare;
using qrv::Relation;
using qrv::RtString;

TEST(Conversion, TextToNumberAndInteger) {
  struct Case {
    const char* text;
    double number;
    int32_t integer;
  } cases[] = {
      {"  42abc", 42, 42},
      {"abc", 0, 0},
      {"3.9", 3.9, 3},
      {"-7.5e2x", -750, -7},
      {"", 0, 0},
      {"\t+12", 12, 12},
      {"1e400", HUGE_VAL, 1},
      {"99999999999", 99999999999.0, static_cast<int32_t>(99999999999 & 0xffffffff)},
      // Only a decimal number is read: no NaN, infinity or hexadecimal from words.
      {"Nancy", 0, 0},
      {"Infantry", 0, 0},
      {"info", 0, 0},
      {"-inf", 0, 0},
      {"0x1F", 0, 0},
      {"-.5e1", -5, 0},
      {"5.", 5, 5},
      {"2e", 2, 2},
      {"2e+x", 2, 2},
      {".e5", 0, 0},
      {"+-1", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qrv::TextToNumber(c.text), c.number) << c.text;
    EXPECT_EQ(qrv::TextToInteger(RtString(c.text)), c.integer) << c.text;
  }
  RtString inner("12", 2);
  inner.AppendBytes(
      "\0"
      "34",
      3);  // the text ends at its first zero byte
  EXPECT_EQ(qrv::TextToInteger(inner), 12);
  EXPECT_EQ(qrv::TruncateToInteger(-7.9), -7);
  EXPECT_EQ(qrv::TruncateToInteger(1e12), INT32_MAX);
  EXPECT_EQ(qrv::TruncateToInteger(std::nan("")), 0);
}

TEST(Conversion, FormatFixed) {
  struct Case {
    double width, decimals, value;
    const char* text;
  } cases[] = {
      {8, 3, 3.14159, "   3.142"}, {2.9, 1.9, 7, "7.0"}, {0, 0, 2.5, "2"},
      {-6, 1, 1.25, "1.2   "},     {3, -4, 9.75, " 10"}, {1, 2, -0.004, "-0.00"},
  };
  for (const Case& c : cases) {
    RtString text = qrv::FormatFixed(c.width, c.decimals, c.value);
    EXPECT_STREQ(text.c_str(), c.text) << c.width << " " << c.decimals << " " << c.value;
    EXPECT_EQ(text.Capacity(), 144u);
  }
  // Long results grow the buffer instead of running past it.
  RtString wide = qrv::FormatFixed(300, 2, 1.5);
  EXPECT_EQ(wide.Length(), 300u);
  EXPECT_STREQ(wide.c_str() + 296, "1.50");
  RtString precise = qrv::FormatFixed(0, 400, 1.0 / 3);
  EXPECT_EQ(precise.Length(), 402u);
  EXPECT_EQ(qrv::FormatFixed(1e300, 1e300, 1).Length(), (1u << 20) + 2);  // "1." and zeros
  EXPECT_EQ(qrv::FormatFixed(0, 0, 1e300).Length(), 301u);
}

// Every relation for one ordered pair: {less, equal, greater} as -1/0/1, or 2 for unordered.
template <typename L, typename R>
void ExpectOrder(const L& left, const R& right, int order) {
  bool unordered = order == 2;
  EXPECT_EQ(Compare<Relation::kEqual>(left, right), order == 0);
  EXPECT_EQ(Compare<Relation::kNotEqual>(left, right), order != 0);
  EXPECT_EQ(Compare<Relation::kLess>(left, right), !unordered && order < 0);
  EXPECT_EQ(Compare<Relation::kGreater>(left, right), !unordered && order > 0);
  EXPECT_EQ(Compare<Relation::kLessEqual>(left, right), !unordered && order <= 0);
  EXPECT_EQ(Compare<Relation::kGreaterEqual>(left, right), !unordered && order >= 0);
  // The mirrored pairing keeps each operator's meaning for the written order.
  int mirrored = unordered ? 2 : -order;
  EXPECT_EQ(Compare<Relation::kLess>(right, left), !unordered && mirrored < 0);
  EXPECT_EQ(Compare<Relation::kGreaterEqual>(right, left), !unordered && mirrored >= 0);
  EXPECT_EQ(Compare<Relation::kNotEqual>(right, left), mirrored != 0);
}

TEST(Comparison, EveryPairingFollowsOneRule) {
  RtString ten("10"), nine("9"), seven("007"), nancy("Nancy");
  ExpectOrder(ten, 9.0, 1);
  ExpectOrder(ten, 9.0f, 1);
  ExpectOrder(ten, int32_t{9}, 1);
  ExpectOrder("10", 9.0, 1);
  ExpectOrder(ten, nine, -1);  // as texts, "10" sorts before "9"
  ExpectOrder("10", nine, -1);
  ExpectOrder(ten, "9", -1);
  ExpectOrder("10", "9", -1);
  ExpectOrder(seven, int32_t{7}, 0);            // numerically equal ...
  ExpectOrder(seven, RtString("7"), -1);        // ... but not the same text
  ExpectOrder(RtString("3.9"), int32_t{3}, 0);  // read with the integer rule
  ExpectOrder(RtString("3.9"), 3.0, 1);
  ExpectOrder(static_cast<float>(0.1), RtString("0.1"), 1);  // the float widened: 0.10000000149
  ExpectOrder(nancy, 0.0, 0);                                // a word reads as 0, never as NaN
  ExpectOrder(nancy, 1.0, -1);
  ExpectOrder(nancy, std::nan(""), 2);
  ExpectOrder(RtString(), "", 0);
  ExpectOrder(RtString("\xe9"), "z", 1);  // bytes compare unsigned
}

TEST(Comparison, OperatorsOnStrings) {
  RtString ten("10");
  EXPECT_TRUE(ten > 9.0);
  EXPECT_TRUE(9 < ten);
  EXPECT_TRUE(ten < RtString("9"));
  EXPECT_TRUE("10" == ten);
  EXPECT_TRUE(ten != "10 ");
  EXPECT_TRUE(RtString("007") == 7);
  EXPECT_TRUE(RtString("Nancy") == 0.0);
  EXPECT_FALSE(RtString("0") == std::nan(""));
  EXPECT_TRUE(RtString("0") != std::nan(""));
  EXPECT_FALSE(RtString("0") <= std::nan(""));
}

TEST(Comparison, ThreeWayAndBytesEqual) {
  EXPECT_LT(qrv::CompareThreeWay(RtString("abc"), "abd"), 0);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("abc"), "abc"), 0);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("2.5"), 3.0), -1);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("2.5"), 2.5), 0);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("2.5"), int32_t{1}), 1);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("2.5"), int32_t{2}), 0);
  EXPECT_EQ(qrv::CompareThreeWay(RtString("x"), std::nan("")), 0);
  EXPECT_TRUE(qrv::BytesEqual("a\0b", 3, "a\0b", 3));
  EXPECT_FALSE(qrv::BytesEqual("a\0b", 3, "a\0c", 3));
  EXPECT_FALSE(qrv::BytesEqual("ab", 2, "abc", 3));
  EXPECT_TRUE(qrv::BytesEqual(nullptr, 0, "", 0));
}

TEST(Maths, DegreesAndGuards) {
  struct Case {
    const char* what;
    double got, expected;
  } cases[] = {
      {"sin 90", qrv::SinDeg(90), 1},
      {"cos 180", qrv::CosDeg(180), -1},
      {"tan 45", qrv::TanDeg(45), 1},
      {"atan2 1 1", qrv::ATan2Deg(1, 1), 45},
      {"atan2 0 -1", qrv::ATan2Deg(0, -1), 180},
      {"asin 1.5", qrv::ASinDeg(1.5), 90},
      {"asin -3", qrv::ASinDeg(-3), -90},
      {"asin 0.5", qrv::ASinDeg(0.5), 30},
      {"acos -2", qrv::ACosDeg(-2), 180},
      {"acos 1", qrv::ACosDeg(1), 0},
      {"acos 0.5", qrv::ACosDeg(0.5), 60},
      {"pow", qrv::Power(2, 10), 1024},
      {"fmod", qrv::FloatMod(5.5, 2), 1.5},
      {"fmod 0", qrv::FloatMod(5.5, 0), 0},
      {"fmod sign", qrv::FloatMod(-5.5, 2), -1.5},
      {"sqrt", qrv::SquareRoot(2.25), 1.5},
      {"abs", qrv::AbsNumber(-2.5), 2.5},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.got, c.expected, 1e-12) << c.what;
  EXPECT_TRUE(std::isnan(qrv::SquareRoot(-1)));
  struct IntCase {
    int32_t got, expected;
  } ints[] = {
      {qrv::IntMod(7, 0), 0},   {qrv::IntMod(-7, 3), -1},
      {qrv::IntMod(7, -3), 1},  {qrv::IntMod(INT32_MIN, -1), 0},
      {qrv::AbsInteger(-5), 5}, {qrv::AbsInteger(INT32_MIN), INT32_MIN},
  };
  for (const IntCase& c : ints) EXPECT_EQ(c.got, c.expected);
}

}  // namespace
