// Test levels for Skipdale_2: a 32 x 24 grid of characters that answers tile types as the
// game's map array does, writes itself in the text form of `qrv map`, and checks that a
// player standing on it has the feet on the surface.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace game_test {

// Thrown by a probe outside the map, where the game stops with error 9.
struct OutOfMap {};

class Level {
 public:
  Level() : rows_(24, std::string(32, '.')) {}

  // Solid stone around the edges: a level the player cannot leave.
  static Level Closed() {
    Level level;
    level.Fill(0, 31, 0, 0, '#').Fill(0, 31, 23, 23, '#').Fill(0, 0, 0, 23, '#');
    return level.Fill(31, 31, 0, 23, '#');
  }

  // Ground on row 20; a rising chain ('/') in columns 9..12 up to a plateau on row 16
  // (columns 13..16); a falling chain ('\') in columns 17..20 back down; earth below.
  static Level Hill() {
    Level level = Closed();
    level.Fill(1, 30, 20, 22, '#').Fill(13, 16, 16, 19, '#');
    for (int k = 0; k < 4; ++k) {
      level.Put(9 + k, 9 + k, 19 - k, '/').Fill(9 + k, 9 + k, 20 - k, 19, '#');
      level.Put(17 + k, 17 + k, 16 + k, '\\').Fill(17 + k, 17 + k, 17 + k, 19, '#');
    }
    return level;
  }

  // The tile types of a map file (types outside 0..3 count as 4: they all act alike).
  static Level FromMapFile(const std::string& path) {
    Level level;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << path;
    unsigned char record[8];
    for (int i = 0; f != nullptr && i < 768 && std::fread(record, 8, 1, f) == 1; ++i) {
      int32_t type = record[0] | record[1] << 8 | record[2] << 16 | record[3] << 24;
      level.rows_[i / 32][i % 32] = kSymbols[type >= 0 && type <= 3 ? type : 4];
    }
    if (f != nullptr) std::fclose(f);
    return level;
  }

  Level& Put(int c0, int c1, int r, char tile) { return Fill(c0, c1, r, r, tile); }
  Level& Fill(int c0, int c1, int r0, int r1, char tile) {
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) rows_[r][c] = tile;
    }
    return *this;
  }

  // The tile type of cell [c, r]; a negative column counts from the end of the row.
  int32_t operator()(int32_t c, int32_t r) const {
    if (c < 0) c += 32;
    if (c < 0 || c >= 32 || r < 0 || r >= 24) throw OutOfMap{};
    return static_cast<int32_t>(std::string(kSymbols).find(rows_[r][c]));
  }

  // The text form for `qrv map compile`.
  std::string Text() const {
    std::string text = "legend 4 4 none\nmap\n";
    for (const std::string& row : rows_) text += row + "\n";
    return text;
  }

 private:
  static constexpr const char* kSymbols = ".#/\\4";
  std::vector<std::string> rows_;
};

// Where a player on the ground stands on a slope, the feet (y + 37) are on its surface at
// the box centre; elsewhere they are on the pixel row just above a tile.
inline testing::AssertionResult FeetOnSurface(const Level& level, int32_t x, int32_t y,
                                              int32_t lastColumn, int32_t lastRow) {
  const int32_t o = (x + 5) % 20;
  const int32_t feet = y + 37;
  int32_t expected = feet - feet % 20 + 19;
  if (level(lastColumn, lastRow) == 2) expected = lastRow * 20 + 19 - o;
  if (level(lastColumn, lastRow) == 3) expected = lastRow * 20 + o - 1;
  if (feet == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "x " << x << " y " << y << ": feet at " << feet << ", the surface at " << expected;
}

}  // namespace game_test
