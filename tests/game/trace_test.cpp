// Skipdale_2 played by replay scripts on small levels, checked line by line against player
// traces worked out by hand from the movement rules. The player starts at (100, 100) and,
// on the flat level, falls onto the floor of row 10 by frame 11.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "game_run.h"
#include "level.h"

namespace {

using game_test::GameRun;
using game_test::Level;

Level Flat() {
  return Level::Closed().Fill(1, 30, 10, 22, '#');
}

// The fall from the start onto row 10 and standing still there.
const char* const kStartFall =
    "0 100 100 0 1 1 1 5 6\n"
    "1 100 101 0 2 1 1 5 6\n"
    "2 100 103 0 3 1 1 5 7\n"
    "3 100 106 0 4 1 1 5 7\n"
    "4 100 110 0 5 1 1 5 7\n"
    "5 100 115 0 6 1 1 5 7\n"
    "6 100 121 0 7 1 1 5 7\n"
    "7 100 128 0 8 1 1 5 8\n"
    "8 100 136 0 9 1 1 5 8\n"
    "9 100 145 0 10 1 1 5 9\n"
    "10 100 155 0 11 1 1 5 9\n"
    "11 100 162 0 1 0 1 5 9\n"
    "12 100 162 0 1 0 1 5 9\n"
    "13 100 162 0 1 0 1 5 9\n";

TEST(Trace, StandingPlayerKeepsDyOneAndItsPlace) {
  GameRun game;
  game.UseLevel(Flat());
  ASSERT_EQ(game.Play(40, ""), 0);
  ASSERT_EQ(game.Trace().size(), 40u);
  EXPECT_EQ(game.TraceText(0, 13), kStartFall);
  for (const auto& t : game.Trace()) {
    if (t.frame < 11) continue;
    EXPECT_EQ(t.y, 162) << "frame " << t.frame;
    EXPECT_EQ(t.dy, 1) << "frame " << t.frame;
  }
}

TEST(Trace, JumpFromFlatGroundRises91Pixels) {
  GameRun game;
  game.UseLevel(Flat());
  ASSERT_EQ(game.Play(43, "14 42\n15\n"), 0);
  EXPECT_EQ(game.TraceText(14, 42),
            "14 100 149 0 -12 1 1 5 9\n"
            "15 100 137 0 -11 1 1 5 8\n"
            "16 100 126 0 -10 1 1 5 8\n"
            "17 100 116 0 -9 1 1 5 7\n"
            "18 100 107 0 -8 1 1 5 7\n"
            "19 100 99 0 -7 1 1 5 6\n"
            "20 100 92 0 -6 1 1 5 6\n"
            "21 100 86 0 -5 1 1 5 6\n"
            "22 100 81 0 -4 1 1 5 5\n"
            "23 100 77 0 -3 1 1 5 5\n"
            "24 100 74 0 -2 1 1 5 5\n"
            "25 100 72 0 -1 1 1 5 5\n"
            "26 100 71 0 0 1 1 5 5\n"
            "27 100 71 0 1 1 1 5 5\n"
            "28 100 72 0 2 1 1 5 5\n"
            "29 100 74 0 3 1 1 5 5\n"
            "30 100 77 0 4 1 1 5 5\n"
            "31 100 81 0 5 1 1 5 5\n"
            "32 100 86 0 6 1 1 5 6\n"
            "33 100 92 0 7 1 1 5 6\n"
            "34 100 99 0 8 1 1 5 6\n"
            "35 100 107 0 9 1 1 5 7\n"
            "36 100 116 0 10 1 1 5 7\n"
            "37 100 126 0 11 1 1 5 8\n"
            "38 100 137 0 12 1 1 5 8\n"
            "39 100 149 0 13 1 1 5 9\n"
            "40 100 162 0 14 1 1 5 9\n"
            "41 100 162 0 1 0 1 5 9\n"
            "42 100 162 0 1 0 1 5 9\n");
}

// Row 3 above the player holds a tile of each non-empty kind in turn: every one stops the
// head at y 81, one pixel below the row's bottom edge at 80, and the player falls back.
TEST(Trace, JumpUnderAnyNonEmptyCeilingStopsOnePixelBelowIt) {
  for (char ceiling : {'#', '/', '\\', '4'}) {
    SCOPED_TRACE(std::string("ceiling ") + ceiling);
    GameRun game;
    game.UseLevel(Flat().Put(5, 5, 3, ceiling));
    ASSERT_EQ(game.Play(39, "14 42\n15\n"), 0);
    EXPECT_EQ(game.TraceText(21, 38),
              "21 100 86 0 -5 1 1 5 6\n"
              "22 100 81 0 -4 1 1 5 5\n"
              "23 100 81 0 0 1 1 5 5\n"
              "24 100 81 0 1 1 1 5 5\n"
              "25 100 82 0 2 1 1 5 5\n"
              "26 100 84 0 3 1 1 5 6\n"
              "27 100 87 0 4 1 1 5 6\n"
              "28 100 91 0 5 1 1 5 6\n"
              "29 100 96 0 6 1 1 5 6\n"
              "30 100 102 0 7 1 1 5 6\n"
              "31 100 109 0 8 1 1 5 7\n"
              "32 100 117 0 9 1 1 5 7\n"
              "33 100 126 0 10 1 1 5 8\n"
              "34 100 136 0 11 1 1 5 8\n"
              "35 100 147 0 12 1 1 5 9\n"
              "36 100 159 0 13 1 1 5 9\n"
              "37 100 162 0 1 0 1 5 9\n"
              "38 100 162 0 1 0 1 5 9\n");
  }
}

// A ledge on row 10 ends at column 6 (pixel 139). The frame the box leaves it (21), it is
// in the air, so left Shift pressed in the next frame does not start a jump.
TEST(Trace, WalkingOffALedgeIsInTheAirInTheSameFrame) {
  GameRun game;
  game.UseLevel(Level::Closed().Fill(1, 6, 10, 10, '#').Fill(1, 30, 20, 22, '#'));
  ASSERT_EQ(game.Play(23, "12 205\n22 205 42\n"), 0);
  EXPECT_EQ(game.TraceText(12, 22),
            "12 104 162 4 1 0 1 5 9\n"
            "13 108 162 4 1 0 1 5 9\n"
            "14 112 162 4 1 0 1 5 9\n"
            "15 116 162 4 1 0 1 6 9\n"
            "16 120 162 4 1 0 1 6 9\n"
            "17 124 162 4 1 0 1 6 9\n"
            "18 128 162 4 1 0 1 6 9\n"
            "19 132 162 4 1 0 1 6 9\n"
            "20 136 162 4 1 0 1 7 9\n"
            "21 140 163 4 2 1 1 7 10\n"
            "22 144 165 4 3 1 1 7 10\n");
}

TEST(Trace, RightArrowWinsOverLeft) {
  struct Case {
    const char* replay;
    const char* expected;
  };
  for (const Case& c : {Case{"12 203 205\n", "12 104 162 4 1 0 1 5 9\n13 108 162 4 1 0 1 5 9\n"},
                        Case{"12 205 203\n", "12 104 162 4 1 0 1 5 9\n13 108 162 4 1 0 1 5 9\n"},
                        Case{"12 203\n", "12 96 162 -4 1 0 0 5 9\n13 92 162 -4 1 0 0 4 9\n"}}) {
    SCOPED_TRACE(c.replay);
    GameRun game;
    game.UseLevel(Flat());
    ASSERT_EQ(game.Play(14, c.replay), 0);
    EXPECT_EQ(game.TraceText(12, 13), c.expected);
  }
}

// Walks right over the hill (up a rising chain, across the plateau, down a falling chain)
// and back. On the ground the feet follow the surface every frame; the only frames in the
// air are the single frames where a flat top meets a descending chain.
TEST(Trace, SlopeChainsKeepTheFeetOnTheSurfaceBothWays) {
  const Level hill = Level::Hill();
  GameRun game;
  game.UseLevel(hill);
  ASSERT_EQ(game.Play(240, "40 205\n140 203\n"), 0);
  auto trace = game.Trace();
  ASSERT_EQ(trace.size(), 240u);
  int airborne = 0;
  for (const auto& t : trace) {
    if (t.frame < 40) continue;
    airborne += t.inAir;
    if (!t.inAir) {
      EXPECT_TRUE(game_test::FeetOnSurface(hill, t.x, t.y, t.lastColumn, t.lastRow))
          << "frame " << t.frame;
    }
  }
  EXPECT_EQ(airborne, 2);
  // The rising chain's last cell is (12, 16); one step past it the feet are on row 16's
  // top edge.
  EXPECT_EQ(game.TraceText(77, 78),
            "77 252 285 4 1 0 1 12 16\n"
            "78 256 282 4 1 0 1 13 15\n");
  EXPECT_EQ(game.TraceText(239, 239), "239 100 362 -4 1 0 0 5 19\n");
}

// From the start to a floor one tile thick on row 22 (nothing below it): the fall speed
// reaches 20 and stops there, so the player lands instead of passing through.
TEST(Trace, FallsNeverExceedTwentyPixelsAFrame) {
  GameRun game;
  game.UseLevel(Level::Closed().Fill(1, 30, 23, 23, '.').Fill(1, 30, 22, 22, '#'));
  ASSERT_EQ(game.Play(40, ""), 0);
  auto trace = game.Trace();
  ASSERT_EQ(trace.size(), 40u);
  int fastest = 0;
  for (const auto& t : trace) fastest = std::max(fastest, t.dy);
  EXPECT_EQ(fastest, 20);
  EXPECT_EQ(game.TraceText(39, 39), "39 100 402 0 1 0 1 5 21\n");
}

// A gap in the bottom row: the player falls out of the map, which stops the program.
TEST(Trace, FallingOutOfTheMapEndsTheProgram) {
  GameRun game;
  game.UseLevel(Level::Closed().Put(5, 5, 23, '.'));
  ASSERT_EQ(game.Play(100, ""), 0);
  auto trace = game.Trace();
  ASSERT_FALSE(trace.empty());
  EXPECT_LT(trace.size(), 100u);
  EXPECT_GT(trace.back().y, 400);
}

// Without its map the main routine returns at once and the program ends normally.
TEST(Trace, MissingMapEndsTheProgramBeforeTheFirstFrame) {
  GameRun game;
  ASSERT_EQ(std::remove(game.MapPath().c_str()), 0);
  ASSERT_EQ(game.Play(100, ""), 0);
  EXPECT_TRUE(game.Trace().empty());
  EXPECT_NE(game_test::ReadFile(game.Folder() + "/ErrorLog.txt").find("qrv is shut down"),
            std::string::npos);
}

}  // namespace
