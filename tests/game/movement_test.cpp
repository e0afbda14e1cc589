// The movement step against small hand-made grids: standing, jumping, ceilings, walls,
// ledges, slope chains in both directions, terminal fall speed and the map's bounds.
// Expected positions are worked out by hand from the movement rules.
#include "movement.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <unordered_set>

#include "level.h"

namespace {

using skipdale::MoveBody;

struct Body {
  int32_t x = 0, y = 0, height = 37, width = 11, dx = 0, dy = 0, facingRight = 1, inAir = 0;
  int32_t lastColumn = 0, lastRow = 0;
};

using game_test::Level;
using game_test::OutOfMap;

// A body standing on the floor row `floorRow` with its box at x.
Body StandingAt(int32_t x, int32_t floorRow) {
  Body b;
  b.x = x;
  b.y = floorRow * 20 - 38;
  b.dy = 1;
  b.lastColumn = (x + 5) / 20;
  b.lastRow = (b.y + 37) / 20;
  return b;
}

void Step(Body& b, const Level& g, int32_t dx) {
  b.dx = dx;
  MoveBody(b, g);
}

TEST(Movement, StandingStillKeepsDyOneAndY) {
  Level g;
  g.Put(0, 31, 10, '#');
  Body b = StandingAt(100, 10);
  for (int i = 0; i < 5; ++i) {
    Step(b, g, 0);
    EXPECT_EQ(b.y, 162);
    EXPECT_EQ(b.dy, 1);
    EXPECT_EQ(b.inAir, 0);
    EXPECT_EQ(b.lastRow, 9);
  }
}

TEST(Movement, JumpFromFlatGroundRises91AndLandsAgain) {
  Level g;
  g.Put(0, 31, 10, '#');
  Body b = StandingAt(100, 10);
  b.dy = -13, b.inAir = 1;
  int32_t top = b.y;
  int frames = 0;
  do {
    Step(b, g, 0);
    top = std::min(top, b.y);
    ++frames;
  } while (b.inAir && frames < 100);
  EXPECT_EQ(162 - top, 91);
  // 13 frames up, one at the peak, 13 down and the landing frame.
  EXPECT_EQ(frames, 28);
  EXPECT_EQ(b.y, 162);
  EXPECT_EQ(b.dy, 1);
}

TEST(Movement, CeilingOfAnyNonEmptyTypeStopsTheHeadOnePixelBelow) {
  for (char ceiling : {'#', '/', '\\', '4'}) {
    SCOPED_TRACE(std::string("ceiling tile ") + ceiling);
    Level g;
    g.Put(0, 31, 10, '#').Put(5, 5, 6, ceiling);
    Body b = StandingAt(100, 10);
    b.dy = -13, b.inAir = 1;
    Step(b, g, 0);  // 162 -> 149: row 7 is open
    EXPECT_EQ(b.y, 149);
    Step(b, g, 0);  // would reach 137, in row 6
    EXPECT_EQ(b.y, 6 * 20 + 21);
    EXPECT_EQ(b.dy, 0);
    Step(b, g, 0);
    EXPECT_EQ(b.dy, 1);
    EXPECT_EQ(b.inAir, 1);
  }
}

TEST(Movement, SolidWallsStopTheBoxOnePixelShort) {
  struct Case {
    int32_t x, dx, frames, expected;
  };
  // A wall in column 10 (pixels 200..219).
  for (const Case& c : {Case{170, 4, 1, 174}, Case{170, 4, 10, 188}, Case{186, 4, 1, 188},
                        Case{240, -4, 4, 224}, Case{240, -4, 10, 221}, Case{223, -4, 1, 221}}) {
    SCOPED_TRACE(testing::Message() << "from " << c.x << " for " << c.frames << " frames");
    Level g;
    g.Put(0, 31, 10, '#').Put(10, 10, 9, '#').Put(10, 10, 8, '#');
    Body b = StandingAt(c.x, 10);
    for (int i = 0; i < c.frames; ++i) Step(b, g, c.dx);
    EXPECT_EQ(b.x, c.expected);
    EXPECT_EQ(b.inAir, 0);
  }
}

TEST(Movement, WalkingOffALedgeFallsInTheSameFrame) {
  Level g;
  g.Put(2, 5, 10, '#').Put(0, 31, 20, '#');
  Body b = StandingAt(100, 10);
  while (b.x < 116) {
    Step(b, g, 4);
    EXPECT_EQ(b.inAir, 0) << "x " << b.x;
  }
  Step(b, g, 4);  // x 120: the box has left column 5
  EXPECT_EQ(b.x, 120);
  EXPECT_EQ(b.inAir, 1);
  EXPECT_EQ(b.y, 163);
  EXPECT_EQ(b.dy, 2);
}

TEST(Movement, FallSpeedNeverExceedsATileSoThinFloorsHold) {
  Level g;
  g.Put(0, 31, 22, '#');  // one tile thick, nothing below it
  Body b;
  b.x = 100, b.y = 21;
  int32_t fastest = 0;
  for (int i = 0; i < 60; ++i) {
    Step(b, g, 0);
    fastest = std::max(fastest, b.dy);
  }
  EXPECT_EQ(fastest, 20);
  EXPECT_EQ(b.y, 22 * 20 - 38);
  EXPECT_EQ(b.inAir, 0);
}

// Walks the body dx per frame for `frames` frames and checks, every frame it is on the
// ground, that its feet are on the surface. Stepping off a flat top onto a descending chain
// leaves the ground for one frame (the feet probe the row above the chain's top cell);
// `airFrames` says how many such frames are allowed.
void WalkOnSurface(Body& b, const Level& g, int32_t dx, int frames, int airFrames) {
  int airborne = 0;
  for (int i = 0; i < frames; ++i) {
    Step(b, g, dx);
    airborne += b.inAir;
    ASSERT_LE(airborne, airFrames) << "frame " << i << " x " << b.x << " y " << b.y;
    if (!b.inAir) {
      EXPECT_TRUE(game_test::FeetOnSurface(g, b.x, b.y, b.lastColumn, b.lastRow));
    }
  }
  EXPECT_EQ(b.inAir, 0);
}

TEST(Movement, RisingSlopeChainKeepsTheFeetOnTheSurface) {
  Level g = Level::Hill();
  Body b = StandingAt(140, 20);
  WalkOnSurface(b, g, 4, 34, 0);  // up the chain onto the plateau
  EXPECT_EQ(b.y + 37, 16 * 20 - 1);
  EXPECT_GT(b.x, 13 * 20);
  WalkOnSurface(b, g, -4, 34, 1);  // and back down
  EXPECT_EQ(b.y + 37, 20 * 20 - 1);
}

TEST(Movement, FallingSlopeChainKeepsTheFeetOnTheSurface) {
  Level g = Level::Hill();
  Body b = StandingAt(440, 20);
  WalkOnSurface(b, g, -4, 34, 0);  // walking left climbs the falling chain
  EXPECT_EQ(b.y + 37, 16 * 20 - 1);
  EXPECT_LT(b.x, 17 * 20);
  WalkOnSurface(b, g, 4, 34, 1);  // and back down to the right
  EXPECT_EQ(b.y + 37, 20 * 20 - 1);
}

TEST(Movement, TopOfARisingChainSetsTheFeetOnTheRowItEndedIn) {
  Level g = Level::Hill();
  Body b = StandingAt(140, 20);
  while (b.x + 5 < 13 * 20) Step(b, g, 4);
  // The first frame past the chain's top puts the feet on the top edge of row 16.
  EXPECT_EQ(b.y + 37, 16 * 20 - 1);
  EXPECT_EQ(b.lastRow, 15);
}

TEST(Movement, LeavingTheMapIsABoundsFailure) {
  Level g;
  g.Put(0, 31, 23, '#').Put(5, 5, 23, '.');  // a gap in the bottom row
  Body fall = StandingAt(100, 23);
  fall.y -= 100, fall.dy = 1;
  EXPECT_THROW(for (int i = 0; i < 60; ++i) Step(fall, g, 0), OutOfMap);

  Level open;
  open.Put(0, 31, 23, '#');
  Body run = StandingAt(600, 23);
  EXPECT_THROW(for (int i = 0; i < 10; ++i) Step(run, open, 4), OutOfMap);
}

// The shipped level is closed on every side: whatever the player does, no step ever probes
// outside the map (which would end the game). Drives the step with random controls.
TEST(Movement, LevelOneKeepsThePlayerInsideTheMap) {
  Level g = Level::FromMapFile(QRV_SOURCE_DIR "/game/Media/maps/map01.map");
  Body b;
  b.x = 100, b.y = 100, b.lastColumn = 5, b.lastRow = 6;
  for (int i = 0; i < 12; ++i) Step(b, g, 0);
  EXPECT_EQ(b.y, 9 * 20 - 38) << "the player starts on the ledge of row 9";
  EXPECT_EQ(b.inAir, 0);
  std::mt19937 random(7);
  int32_t dx = 0;
  bool jump = false;
  for (int frame = 0; frame < 200000; ++frame) {
    if (frame % 15 == 0) {
      dx = static_cast<int32_t>(random() % 3) * 4 - 4;
      jump = random() % 3 == 0;
    }
    if (jump && b.inAir == 0) b.dy = -13, b.inAir = 1;
    ASSERT_NO_THROW(Step(b, g, dx)) << "frame " << frame << " x " << b.x << " y " << b.y;
  }
}

// Whoever drops off the start ledge can climb back onto it: a search over every control
// (left, still, right, each with or without a jump) from the ground left of the hill.
TEST(Movement, LevelOneStartLedgeCanBeReachedAgainFromTheGround) {
  Level g = Level::FromMapFile(QRV_SOURCE_DIR "/game/Media/maps/map01.map");
  auto key = [](const Body& b) {
    return uint64_t(b.x + 64) | uint64_t(b.y + 64) << 11 | uint64_t(b.dy + 32) << 22 |
           uint64_t(b.inAir) << 28 | uint64_t(b.lastColumn + 32) << 29 |
           uint64_t(b.lastRow + 32) << 36;
  };
  std::deque<Body> open = {StandingAt(40, 20)};
  std::unordered_set<uint64_t> seen = {key(open.front())};
  bool reached = false;
  while (!open.empty() && !reached) {
    const Body b = open.front();
    open.pop_front();
    reached = b.inAir == 0 && b.y == 9 * 20 - 38 && b.x < 8 * 20;
    for (int32_t dx : {-4, 0, 4}) {
      for (bool jump : {false, true}) {
        if (jump && b.inAir != 0) continue;
        Body next = b;
        if (jump) next.dy = -13, next.inAir = 1;
        Step(next, g, dx);
        if (seen.insert(key(next)).second) open.push_back(next);
      }
    }
  }
  EXPECT_TRUE(reached) << seen.size() << " places tried";
}

}  // namespace
