// The string functions: substring, search, replace, trimming, case, hexadecimal text,
// character codes and the first-of searches.
#include <gtest/gtest.h>

#include <string>

#include "quorvia/values.h"

namespace {

using qrv::RtString;

std::string Str(const RtString& s) {
  return std::string(s.View());
}

TEST(StringFunctions, Mid) {
  struct Case {
    int32_t start, count;
    const char* expected;
  } cases[] = {{1, 3, "ell"}, {3, -1, "lo"},    {3, 10, "lo"},       {5, 1, ""},        {-1, 2, ""},
               {0, 0, ""},    {0, -5, "Hello"}, {4, INT32_MAX, "o"}, {INT32_MAX, 5, ""}};
  RtString hello("Hello");
  for (const Case& c : cases) {
    EXPECT_EQ(Str(qrv::Mid(hello, c.start, c.count)), c.expected) << c.start << "," << c.count;
  }
  RtString inner("a\0b\0c", 5);  // inner zero bytes are kept
  EXPECT_EQ(Str(qrv::Mid(inner, 1, 3)), std::string("\0b\0", 3));
  EXPECT_TRUE(qrv::Mid(hello, 9, 1).UsesSharedEmpty());
}

TEST(StringFunctions, InStrMembersAgree) {
  struct Case {
    const char* text;
    const char* sought;
    int32_t start, expected;
  } cases[] = {{"abcabc", "c", 0, 2},   {"abcabc", "c", 3, 5},  {"abc", "", 3, 3},
               {"abc", "a", 4, -1},     {"abc", "a", -1, -1},   {"abc", "", 4, -1},
               {"abcabc", "bca", 0, 1}, {"abc", "abcd", 0, -1}, {"", "", 0, 0}};
  for (const Case& c : cases) {
    RtString text(c.text), sought(c.sought);
    EXPECT_EQ(qrv::InStr(c.text, c.sought, c.start), c.expected) << c.text << "/" << c.sought;
    EXPECT_EQ(qrv::InStr(text, c.sought, c.start), c.expected);
    EXPECT_EQ(qrv::InStr(c.text, sought, c.start), c.expected);
    EXPECT_EQ(qrv::InStr(text, sought, c.start), c.expected);
  }
  RtString zero("ab\0cd", 5);  // the search ends at the first zero byte
  EXPECT_EQ(qrv::InStr(zero, "cd", 0), -1);
  EXPECT_EQ(qrv::InStr(zero, "", 3), -1);
}

TEST(StringFunctions, Replace) {
  struct Case {
    const char *text, *sought, *replacement, *expected;
  } cases[] = {{"aaa", "a", "b", "bbb"},
               {"abab", "ab", "x", "xx"},
               {"aa", "a", "aa", "aaaa"},
               {"ab", "ab", "", ""},
               {"abc", "", "x", "abc"},
               {"hello world", "o", "0", "hell0 w0rld"},
               {"aaaa", "aa", "a", "aa"},
               {"xyz", "q", "r", "xyz"},
               {"one two", "two", "three", "one three"},
               {"abcd", "bc", "XY", "aXYd"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Str(qrv::Replace(c.text, c.sought, c.replacement)), c.expected)
        << c.text << " " << c.sought << " " << c.replacement;
  }
  RtString tail("a-b\0a-b", 7);  // after the first zero byte nothing is replaced
  EXPECT_EQ(Str(qrv::Replace(tail, "-", "+")), std::string("a+b\0a-b", 7));
}

TEST(StringFunctions, Trim) {
  RtString blank(" ");
  EXPECT_EQ(Str(qrv::TrimRight("ab  ", blank)), "ab");
  EXPECT_EQ(Str(qrv::TrimLeft("   ", blank)), "");
  EXPECT_EQ(Str(qrv::TrimRight("   ", blank)), "");
  EXPECT_EQ(Str(qrv::TrimLeft("abc", RtString())), "abc");
  EXPECT_EQ(Str(qrv::TrimRight(RtString(), blank)), "");
  RtString set(" \t\0", 3);  // the set's stored length counts, zero byte included
  RtString padded("\t x \0", 5);
  EXPECT_EQ(Str(qrv::TrimLeft(padded, set)), std::string("x \0", 3));
  EXPECT_EQ(Str(qrv::TrimRight(padded, set)), "\t x");
  EXPECT_EQ(Str(qrv::TrimLeft("\xff\xfe"
                              "a",
                              RtString("\xff\xfe"))),
            "a");
}

TEST(StringFunctions, CaseHexAndCodes) {
  RtString mixed("aZ\0\xe9q", 5);
  EXPECT_EQ(Str(qrv::UpperCase(mixed)), std::string("AZ\0\xe9Q", 5));
  EXPECT_EQ(Str(qrv::LowerCase(mixed)), std::string("az\0\xe9q", 5));
  EXPECT_EQ(Str(mixed), std::string("aZ\0\xe9q", 5));  // the copies leave it alone
  char block[] = "MiXeD";
  qrv::LowerCaseInPlace(block, 3);
  EXPECT_STREQ(block, "mixeD");
  qrv::UpperCaseInPlace(block, 5);
  EXPECT_STREQ(block, "MIXED");

  const unsigned char bytes[] = {0x1f, 0xa0, 0x00, 0xff};
  EXPECT_EQ(Str(qrv::HexBytes(bytes, 2, true)), "1FA0");
  EXPECT_EQ(Str(qrv::HexBytes(bytes, 2, false)), "1fa0");
  EXPECT_EQ(Str(qrv::HexBytes(bytes, 4, false)), "1fa000ff");
  EXPECT_EQ(Str(qrv::HexBytes(bytes, 0, true)), "");
  EXPECT_EQ(Str(qrv::HexBytes(bytes, -3, true)), "");

  EXPECT_EQ(Str(qrv::Chr(65)), "A");
  EXPECT_EQ(Str(qrv::Chr(321)), "A");
  EXPECT_EQ(qrv::Chr(0).Length(), 1u);
  EXPECT_EQ(qrv::Asc(RtString()), 0);
  EXPECT_EQ(qrv::Asc(qrv::Chr(200)), 200);
  EXPECT_EQ(qrv::Asc(qrv::Chr(-56)), 200);
}

TEST(StringFunctions, FirstOfAndFirstNotOf) {
  const char* text = "  key=value";
  EXPECT_EQ(qrv::FindFirstOf(text, "=:"), text + 5);
  EXPECT_EQ(qrv::FindFirstOf(text, "#"), nullptr);
  EXPECT_EQ(qrv::FindFirstNotOf(text, " "), text + 2);
  EXPECT_EQ(qrv::FindFirstNotOf("   ", " "), nullptr);
  EXPECT_EQ(qrv::FindFirstNotOf("", ""), nullptr);
  EXPECT_EQ(qrv::FindFirstOf(nullptr, "a"), nullptr);
}

}  // namespace
