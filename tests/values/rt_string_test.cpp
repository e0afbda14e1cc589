// RtString: sharing of the empty text, the growth rule, appends and assignment.
#include "quorvia/rt_string.h"

#include <gtest/gtest.h>

#include <cstring>

using qrv::RtString;

TEST(RtString, EmptyStringsShareOneTextAndOwnNothing) {
  RtString a;
  RtString b("");
  RtString c("abc");
  c.Clear();
  for (const RtString* s : {&a, &b, &c}) {
    EXPECT_EQ(s->c_str(), qrv::SharedEmptyText());
    EXPECT_EQ(s->Capacity(), 0u);
    EXPECT_EQ(s->Length(), 0u);
  }
  // Appending nothing allocates nothing.
  a.Append("");
  a.Append(RtString());
  EXPECT_TRUE(a.UsesSharedEmpty());
}

TEST(RtString, ReserveRoundsToTheNextMultipleOf16) {
  struct Case {
    uint32_t n, capacity;
  } cases[] = {{1, 16}, {14, 16}, {15, 32}, {30, 32}, {31, 48}, {63, 80}, {64, 80}};
  for (const auto& c : cases) {
    RtString s;
    s.Reserve(c.n, false);
    EXPECT_EQ(s.Capacity(), c.capacity) << "n=" << c.n;
    s.Reserve(c.n, false);  // enough room: no change
    EXPECT_EQ(s.Capacity(), c.capacity);
  }
}

TEST(RtString, AppendKeepsBufferUntilItIsFull) {
  RtString s("12345678901234567890");  // 20 characters, capacity 32
  ASSERT_EQ(s.Capacity(), 32u);
  RtString fits = s;
  fits.Reserve(20, true);
  const char* before = fits.c_str();
  fits.Append("abcdefghijk");  // 31 + terminator = 32
  EXPECT_EQ(fits.c_str(), before);
  EXPECT_EQ(fits.Capacity(), 32u);
  RtString grows = s;
  grows.Append("abcdefghijkl");  // 32 + terminator > 32
  EXPECT_EQ(grows.Capacity(), 48u);
  EXPECT_STREQ(grows.c_str(), "12345678901234567890abcdefghijkl");
}

TEST(RtString, CopiesKeepInnerZeroBytesAndNeverShare) {
  RtString s("ab", 2);
  s.AppendBytes("\0c", 2);
  EXPECT_EQ(s.Length(), 4u);
  EXPECT_EQ(qrv::TextLength(s), 2);
  RtString copy(s);
  EXPECT_NE(copy.c_str(), s.c_str());
  EXPECT_EQ(copy.Length(), 4u);
  EXPECT_EQ(std::memcmp(copy.c_str(), "ab\0c", 5), 0);
  RtString assigned;
  assigned = s;
  EXPECT_EQ(assigned.View(), s.View());
}

TEST(RtString, AssigningEmptyKeepsTheTargetsBuffer) {
  RtString s("hello");
  const char* buffer = s.c_str();
  s = RtString();
  EXPECT_EQ(s.c_str(), buffer);
  EXPECT_EQ(s.Capacity(), 16u);
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_EQ(s.c_str()[0], 0);
  s = s;  // self-assignment is harmless
  EXPECT_EQ(s.Length(), 0u);
}

TEST(RtString, FixLengthAndSetLengthRespectTheCapacity) {
  RtString s;
  s.Reserve(14, false);
  std::memset(s.Data(), 'x', s.Capacity());  // a foreign writer forgot the terminator
  s.FixLength();
  EXPECT_EQ(s.Length(), 15u);
  EXPECT_EQ(s.c_str()[15], 0);
  s.SetLength(3);
  EXPECT_STREQ(s.c_str(), "xxx");
  s.SetLength(16);  // not below the capacity: ignored
  s.SetLength(-1);
  EXPECT_EQ(s.Length(), 3u);
  RtString empty;
  empty.FixLength();
  empty.SetLength(0);
  EXPECT_EQ(empty.Length(), 0u);
}

TEST(RtString, AppendOfItselfAndConcatenationFamily) {
  RtString s("ab");
  s.Append(s);
  s += s;
  EXPECT_STREQ(s.c_str(), "abababab");
  RtString x("x");
  EXPECT_STREQ((x + 7).c_str(), "x7");
  EXPECT_STREQ(("<" + x + ">").c_str(), "<x>");
  EXPECT_STREQ((int32_t{-3} + x).c_str(), "-3x");
  EXPECT_STREQ(qrv::Concat("a", "b").c_str(), "ab");
}

TEST(RtString, ManySmallAppendsGrowInSteps) {
  RtString s;
  std::string reference;
  for (int i = 0; i < 10000; ++i) {
    char c = static_cast<char>('a' + i % 26);
    s.AppendBytes(&c, 1);
    reference += c;
    ASSERT_EQ(s.Capacity() % 16, 0u);
    ASSERT_GT(s.Capacity(), s.Length());
  }
  EXPECT_EQ(s.View(), reference);
}

TEST(RtString, GrownBuffersReportTheRuleCapacityWhateverTheirBlock) {
  RtString s;
  for (int i = 0; i < 1000; ++i) s.Append("x");
  EXPECT_EQ(s.Capacity(), 1008u);
  std::string longer(1200, 'y');
  RtString source(longer.c_str());
  s = source;  // assignment reuses or replaces the block; the rule sets the capacity
  EXPECT_EQ(s.Capacity(), 1216u);
  EXPECT_EQ(s.View(), longer);
  s.Append(s);  // a self-append that must grow
  EXPECT_EQ(s.Length(), 2400u);
  EXPECT_EQ(s.Capacity(), 2416u);
  EXPECT_EQ(s.View(), longer + longer);
  s = "short";
  EXPECT_STREQ(s.c_str(), "short");
  EXPECT_EQ(s.Capacity(), 16u);
}
