// The first frame of the shipped game, captured from the back buffer: the background, the
// tiles of level 1 and the figure facing right at (96, 98), every pixel as the bitmaps have
// it, with their transparent colour showing what lies behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "game_run.h"
#include "quorvia/graphics2d.h"

namespace {

constexpr int32_t kTransparent = 0xFF00FF;
constexpr int32_t kNoKey = -1;  // matches no colour

const char* const kTiles[] = {"t1", "t2", "t3", "tsloper", "tslopel", "t6", "t7"};

qrv::RgbaImage Load(const std::string& path, int32_t key) {
  qrv::RgbaImage image;
  EXPECT_TRUE(qrv::LoadImageFile(image, path, key)) << path;
  return image;
}

// Draws the opaque pixels of `image` onto `target` with the top-left corner at (x, y).
void Paint(qrv::RgbaImage& target, const qrv::RgbaImage& image, int x, int y) {
  for (int j = 0; j < image.height; ++j) {
    for (int i = 0; i < image.width; ++i) {
      const uint8_t* from = &image.pixels[(j * image.width + i) * 4];
      if (from[3] == 0 || x + i < 0 || y + j < 0 || x + i >= target.width ||
          y + j >= target.height) {
        continue;
      }
      uint8_t* to = &target.pixels[((y + j) * target.width + x + i) * 4];
      for (int k = 0; k < 3; ++k) to[k] = from[k];
    }
  }
}

// What the first frame must show: the background, every cell's tile graphic (except those
// of the graphic `missing`, whose file the run lacks) and the figure facing right at (96, 98).
qrv::RgbaImage ExpectedStartScreen(const game_test::GameRun& game, int missing) {
  const std::string gfx = game.Folder() + "/Media/gfx/";
  qrv::RgbaImage expected = Load(gfx + "bg.bmp", kNoKey);
  const std::string map = game_test::ReadFile(game.MapPath());
  EXPECT_GE(map.size(), 6144u);
  for (int c = 0; c < 32 && map.size() >= 6144; ++c) {
    for (int r = 0; r < 24; ++r) {
      const auto* record = reinterpret_cast<const uint8_t*>(map.data() + (r * 32 + c) * 8 + 4);
      int32_t g = record[0] | record[1] << 8 | record[2] << 16 | record[3] << 24;
      if (g == 128 || (g < 0 ? g + 7 : g) == missing) continue;
      Paint(expected, Load(gfx + kTiles[g < 0 ? g + 7 : g] + ".bmp", kTransparent), c * 20, r * 20);
    }
  }
  Paint(expected, Load(gfx + "right.bmp", kTransparent), 96, 98);
  return expected;
}

// Captures the first frame of the game and compares it with the expected picture.
void ExpectStartScreen(game_test::GameRun& game, int missing) {
  std::filesystem::create_directories(game.Folder() + "/shots");
  ASSERT_EQ(game.Play(1, "", {{"QRV_CAPTURE", game.Folder() + "/shots"}, {"QRV_CAPTURE_FRAMES", "1"}}),
            0);
  qrv::RgbaImage frame = Load(game.Folder() + "/shots/frame-000001.png", kNoKey);
  ASSERT_EQ(frame.width, 640);
  ASSERT_EQ(frame.height, 480);
  qrv::RgbaImage expected = ExpectedStartScreen(game, missing);
  int wrong = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint8_t* got = &frame.pixels[(y * 640 + x) * 4];
      const uint8_t* want = &expected.pixels[(y * 640 + x) * 4];
      if (got[0] == want[0] && got[1] == want[1] && got[2] == want[2]) continue;
      if (++wrong <= 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << int(got[0]) << ","
                      << int(got[1]) << "," << int(got[2]) << " want " << int(want[0]) << ","
                      << int(want[1]) << "," << int(want[2]);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(StartScreen, ShowsTheBackgroundTheTilesAndTheFigureAt96And98) {
  game_test::GameRun game;
  ExpectStartScreen(game, -1);
}

// Without t2.bmp (the stone of level 1's walls) the stone cells show the background; the
// tiles loaded after it keep their own pictures instead of one of them taking its place.
TEST(StartScreen, AMissingTileGraphicDrawsNothing) {
  game_test::GameRun game;
  ASSERT_EQ(std::remove((game.Folder() + "/Media/gfx/t2.bmp").c_str()), 0);
  ExpectStartScreen(game, 1);
}

}  // namespace
