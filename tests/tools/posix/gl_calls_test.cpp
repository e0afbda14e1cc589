// The GL cost tool on the shipped game: a steady frame makes at most 30 GL calls (its
// tiles and player share an atlas page, so one draw takes them all), reads nothing back
// from the GPU and asks the driver nothing, whether the game draws into the window or,
// scaled, into a frame buffer of its own that present enlarges into the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "tools/tool_run.h"

namespace {

// The figure after "key=" in the tool's line for the game; -1 when it is missing.
double Figure(const std::string& out, const std::string& key) {
  std::smatch match;
  if (!std::regex_search(out, match, std::regex("skipdale2 .*" + key + "=([0-9.]+)"))) return -1;
  return std::atof(match[1].str().c_str());
}

// Runs the tool on the game with the settings given ("QRV_SCALE=2") and expects traced
// frames of at most 30 calls, without a read-back or a wait.
void ExpectCheapFrames(const std::string& settings) {
  tool_test::Result r =
      tool_test::Run(QRV_SOURCE_DIR, settings + " bash tools/gl-calls.sh '" QRV_BUILD_DIR
                                                "' '" QRV_BUILD_DIR "/game/skipdale2'");
  ASSERT_EQ(r.status, 0) << r.err;
  // The frames were traced: the game draws its map in every one.
  EXPECT_GT(Figure(r.out, "calls"), 0) << r.out;
  EXPECT_LE(Figure(r.out, "calls"), 30) << r.out;
  EXPECT_GE(Figure(r.out, "draws"), 1) << r.out;
  EXPECT_EQ(Figure(r.out, "readbacks"), 0) << r.out;
  EXPECT_EQ(Figure(r.out, "waits"), 0) << r.out;
}

TEST(GlCalls, TheGamesSteadyFrameIsCheapReadsNothingBackAndWaitsForNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the tracer's preloaded library cannot come before the address sanitizer's";
#endif
  ExpectCheapFrames("QRV_SCALE=1");
  ExpectCheapFrames("QRV_SCALE=2");
}

}  // namespace
