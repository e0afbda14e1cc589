// The replay script format: what parses, what is refused with which message, and which
// keys a script holds and taps at which present number.
#include "input/replay_script.h"

#include <gtest/gtest.h>

namespace qrv {
namespace {

HeldKeys Keys(std::initializer_list<int> codes) {
  HeldKeys keys;
  for (int code : codes) keys.set(code);
  return keys;
}

TEST(ReplayScript, RefusesMalformedScriptsNamingTheLine) {
  struct Case {
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"10 205\n20 300\n", "line 2: expected a scan code 0..255"},
      {"10 -1\n", "line 1: expected a scan code 0..255"},
      {"x 1\n", "line 1: expected a present number 0..2147483647"},
      {"-3 1\n", "line 1: expected a present number 0..2147483647"},
      {"2147483648 1\n", "line 1: expected a present number 0..2147483647"},
      {"99999999999999999999999 1\n", "line 1: expected a present number 0..2147483647"},
      {"1 2x\n", "line 1: expected a scan code 0..255"},
      {"1 2,3\n", "line 1: expected a scan code 0..255"},
      {"# c\n5 1\n5 2\n", "line 3: present numbers must ascend"},
      {"7 1\n3 2\n", "line 2: present numbers must ascend"},
      {"7:3 1\n7:3 2\n", "line 2: present numbers must ascend"},
      {"7:4 1\n7:2 2\n", "line 2: present numbers must ascend"},
      {"7: 1\n", "line 1: expected a present number 0..2147483647"},
      {"7:x 1\n", "line 1: expected a present number 0..2147483647"},
      {"1 2:3\n", "line 1: expected a scan code 0..255"},
      {"1 Right\n2 Rigth\n", "line 2: unknown key name 'Rigth'"},
      {"1 kKey\n", "line 1: unknown key name 'kKey'"},
      {"1 Right,Space\n", "line 1: unknown key name 'Right,Space'"},
      {"1 Key_Right\n", "line 1: unknown key name 'Key_Right'"},
      {"1 57\n2 *\n", "line 2: '*' must stand right before a key (*57, *Space)"},
      {"2 * 57\n", "line 1: '*' must stand right before a key (*57, *Space)"},
      {"2 **57\n", "line 1: '*' must stand right before a key (*57, *Space)"},
      {"2 *300\n", "line 1: expected a scan code 0..255"},
      {"2 *Spcae\n", "line 1: unknown key name 'Spcae'"},
      {"2 57*\n", "line 1: expected a scan code 0..255"},
      {"*2 57\n", "line 1: expected a present number 0..2147483647"},
      {"1\n4:2 *57\n", "line 2: a tap (*KEY) belongs on a present's line, not on FRAME:READING"},
      {"0 *Space\n", "line 1: a tap (*KEY) needs a present before it: FRAME 1 or more"},
      {"3 *57\n3 57\n", "line 2: present numbers must ascend"},
  };
  for (const Case& c : cases) {
    ReplayScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_TRUE(script.Empty());
  }
}

TEST(ReplayScript, HoldsEachLineUntilTheNext) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("# a comment line\r\n"
                   "\n"
                   "  10\t205 42   # Right and left Shift\r\n"
                   "40\n"
                   "41 1 1 255 0",  // no final line feed
                   &error))
      << error;
  EXPECT_EQ(script.StepCount(), 3u);
  struct Probe {
    int64_t frame;
    HeldKeys keys;
  };
  const Probe probes[] = {{0, {}},
                          {9, {}},
                          {10, Keys({42, 205})},
                          {39, Keys({42, 205})},
                          {40, {}},
                          {41, Keys({0, 1, 255})},
                          {1000000, Keys({0, 1, 255})}};
  for (const Probe& p : probes) EXPECT_EQ(script.KeysAt(p.frame), p.keys) << p.frame;
}

// The codes are those docs/replay.md lists beside the keys' names.
TEST(ReplayScript, KeysByTheirNamesInAnyLetterCase) {
  ReplayScript byName, byCode;
  std::string error;
  ASSERT_TRUE(byName.Parse("12 Right Space\n20 leftshift KKEYESCAPE kKey1 PadEnter 205\n", &error))
      << error;
  ASSERT_TRUE(byCode.Parse("12 205 57\n20 42 1 2 156 205\n", &error)) << error;
  for (int64_t frame : {12, 20}) EXPECT_EQ(byName.KeysAt(frame), byCode.KeysAt(frame)) << frame;
  EXPECT_EQ(byName.KeysAt(12), Keys({205, 57}));
}

// A tap mark holds nothing and counts at its own present only; a key may be both held and
// tapped (let go and pressed again since the previous present). Line 9 lets 205 go: a line
// lists every held key.
TEST(ReplayScript, TapsCountAtTheirPresentOnly) {
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(
      script.Parse("3 *Space\n5 205 *205 *kKey1\n5:2 205\n9 *57 *57 # twice is once\n", &error))
      << error;
  struct Probe {
    int64_t present;
    HeldKeys held, taps;
  };
  const Probe probes[] = {
      {2, {}, {}},          {3, {}, Keys({57})}, {4, {}, {}},  {5, Keys({205}), Keys({2, 205})},
      {6, Keys({205}), {}}, {9, {}, Keys({57})}, {10, {}, {}},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(script.KeysAt(p.present), p.held) << p.present;
    EXPECT_EQ(script.TapsAt(p.present), p.taps) << p.present;
  }
}

TEST(ReplayScript, WrittenLinesReadBackToTheSameKeys) {
  std::string text = FormatReplayLine(0, Keys({})) + FormatReplayLine(12, Keys({255, 1, 57})) +
                     FormatReplayLine({12, 40}, Keys({57})) +
                     FormatReplayLine(13, Keys({57}), Keys({30, 57})) +
                     FormatReplayLine(2147483647, Keys({200}));
  EXPECT_EQ(text, "0\n12 1 57 255\n12:40 57\n13 57 *30 *57\n2147483647 200\n");
  ReplayScript script;
  std::string error;
  ASSERT_TRUE(script.Parse(text, &error)) << error;
  EXPECT_EQ(script.KeysAt(11), Keys({}));
  EXPECT_EQ(script.KeysAt(12), Keys({1, 57, 255}));
  // Readings between two presents: a change seen at the 40th reading after present 12.
  EXPECT_EQ(script.KeysAt({12, 39}), Keys({1, 57, 255}));
  EXPECT_EQ(script.KeysAt({12, 40}), Keys({57}));
  EXPECT_EQ(script.KeysAt(13), Keys({57}));
  EXPECT_EQ(script.TapsAt(13), Keys({30, 57}));
  EXPECT_EQ(script.TapsAt(14), Keys({}));
  EXPECT_EQ(script.KeysAt(2147483647), Keys({200}));
}

}  // namespace
}  // namespace qrv
