// The edge rule over a sequence of present's samples: which keys count as hit and released
// for what is held at each sample and what was tapped between two samples.
#include "input/press_edges.h"

#include <gtest/gtest.h>

#include <string>

namespace qrv {
namespace {

using Edges = PressEdges<4>;

// Keys 0..3 as a string of digits ("02": keys 0 and 2).
Edges::Set Keys(const std::string& digits) {
  Edges::Set keys;
  for (char digit : digits) keys.set(static_cast<size_t>(digit - '0'));
  return keys;
}

// The keys (as digits) for which `edge` answers true: Edges::Hit or Edges::Released.
std::string KeysWith(const Edges& edges, bool (Edges::*edge)(size_t) const) {
  std::string keys;
  for (size_t key = 0; key < 4; ++key) keys += (edges.*edge)(key) ? std::to_string(key) : "";
  return keys;
}
std::string HitKeys(const Edges& edges) {
  return KeysWith(edges, &Edges::Hit);
}
std::string ReleasedKeys(const Edges& edges) {
  return KeysWith(edges, &Edges::Released);
}

TEST(PressEdges, EachSampleAnswersForTheTimeSinceThePreviousOne) {
  struct Step {
    const char* held;
    const char* taps;
    const char* hit;
    const char* released;
    const char* what;
  };
  const Step steps[] = {
      {"", "", "", "", "nothing yet"},
      {"0", "", "0", "", "0 goes down"},
      {"0", "", "", "", "0 stays down: no second hit"},
      {"", "", "", "0", "0 comes up"},
      {"", "1", "1", "1", "1 pressed and released between two samples"},
      {"", "", "", "", "a tap counts at one sample only"},
      {"0", "0", "0", "0", "0 down, up and down again"},
      {"0", "0", "0", "0", "0 held at both samples, let go and pressed between them"},
      {"", "0", "0", "0", "0 up, down and up again"},
      {"12", "", "12", "", "two keys down at once"},
      {"23", "", "3", "1", "one goes, another comes"},
      {"", "", "", "23", "all let go"},
  };
  Edges edges;
  for (const Step& step : steps) {
    edges.Sample(Keys(step.held), Keys(step.taps));
    EXPECT_EQ(HitKeys(edges), step.hit) << step.what;
    EXPECT_EQ(ReleasedKeys(edges), step.released) << step.what;
  }
  EXPECT_FALSE(edges.Hit(4));  // beyond the set: never
  EXPECT_FALSE(edges.Released(size_t(-1)));
}

// Before the first sample nothing counts as held: a key held from the start is a hit.
TEST(PressEdges, AKeyHeldAtTheFirstSampleIsAHit) {
  Edges edges;
  EXPECT_EQ(HitKeys(edges), "");
  edges.Sample(Keys("3"), Keys(""));
  EXPECT_EQ(HitKeys(edges), "3");
  EXPECT_EQ(ReleasedKeys(edges), "");
}

// A tap needs both events: one kind alone is what the held keys already show, or (a table
// kept while the window had no focus) must not contradict them.
TEST(PressEdges, TapsAreKeysThatWentBothDownAndUp) {
  EXPECT_EQ(Edges::Taps(Keys("013"), Keys("123")), Keys("13"));
  EXPECT_EQ(Edges::Taps(Keys("0"), Keys("")), Keys(""));
  EXPECT_EQ(Edges::Taps(Keys(""), Keys("2")), Keys(""));
}

}  // namespace
}  // namespace qrv
