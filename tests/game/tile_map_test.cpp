// The tile map: initialisation, loading map files (graphic indices 128, negative, out of
// range; long and short files; missing files) and the array rules of cell access.
#include "tile_map.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "game_run.h"
#include "player.h"
#include "values/error_stop_check.h"

namespace {

using skipdale::MapCell;
using skipdale::TileMap;

struct Record {
  int32_t type, graphic;
};

// The bytes of a map file whose cell (c, r) holds record(c, r).
std::string MapBytes(const std::function<Record(int, int)>& record) {
  std::string bytes;
  for (int r = 0; r < 24; ++r) {
    for (int c = 0; c < 32; ++c) {
      Record cell = record(c, r);
      for (int32_t value : {cell.type, cell.graphic}) {
        for (int shift = 0; shift < 32; shift += 8) {
          bytes += static_cast<char>(static_cast<uint32_t>(value) >> shift);
        }
      }
    }
  }
  return bytes;
}

class TileMapTest : public testing::Test {
 protected:
  void SetUp() override {
    list_.Dim(7);
    for (int i = 0; i < 7; ++i) list_.ElementAt(i) = 100 + i;  // sprite ids of t1..t7
    skipdale::InitTileMap(map_, list_);
    // Not under TMPDIR: the error-stop checks point that at folders of their own.
    path_ = "/tmp/skipdale-map-" + std::to_string(getpid()) + ".map";
  }
  void TearDown() override { std::remove(path_.c_str()); }

  int32_t Load(const std::string& bytes) {
    game_test::WriteFile(path_, bytes);
    return skipdale::LoadTileMap(map_, path_.c_str());
  }
  const MapCell& Cell(int c, int r) const { return map_.cells.ElementAt(c, r); }

  qrv::RtArray<int32_t> list_;
  TileMap map_;
  std::string path_;
};

TEST_F(TileMapTest, InitEmptiesEveryCellAndKeepsItsOwnCopyOfTheList) {
  TileMap map;
  EXPECT_EQ(skipdale::InitTileMap(map, list_), 1);
  list_.ElementAt(0) = 7;
  EXPECT_EQ(qrv::Bounds(map.cells, 0), 32);
  EXPECT_EQ(qrv::Bounds(map.cells, 1), 24);
  EXPECT_EQ(map.tileSprites.ElementAt(0), 100);
  EXPECT_EQ(map.tileSprites.ElementAt(-1), 106);
  for (int c = 0; c < 32; ++c) {
    for (int r = 0; r < 24; ++r) {
      EXPECT_EQ(map.cells.ElementAt(c, r).type, 0);
      EXPECT_EQ(map.cells.ElementAt(c, r).sprite, -1);
    }
  }
}

// Types are stored as they are; graphic 128 leaves the sprite alone, 0..6 pick from the
// list and -1..-7 count from its end (-1 is t7).
TEST_F(TileMapTest, LoadStoresTypesAndPicksGraphicsFromTheList) {
  const int32_t graphics[] = {128, 0, 1, 2, 3, 4, 5, 6, -1, -2, -3, -4, -5, -6, -7};
  auto record = [&](int c, int r) {
    int i = r * 32 + c;
    return Record{i * 7919 - 3000000, graphics[i % 15]};
  };
  ASSERT_EQ(Load(MapBytes(record)), 1);
  for (int r = 0; r < 24; ++r) {
    for (int c = 0; c < 32; ++c) {
      Record expected = record(c, r);
      int32_t g = expected.graphic;
      EXPECT_EQ(Cell(c, r).type, expected.type);
      EXPECT_EQ(Cell(c, r).sprite, g == 128 ? -1 : 100 + (g < 0 ? g + 7 : g)) << "graphic " << g;
    }
  }
}

TEST_F(TileMapTest, GraphicIndex128KeepsWhatTheCellHad) {
  ASSERT_EQ(Load(MapBytes([](int, int) { return Record{1, 2}; })), 1);
  ASSERT_EQ(Load(MapBytes([](int c, int) { return Record{c % 4, 128}; })), 1);
  EXPECT_EQ(Cell(5, 5).sprite, 102);
  EXPECT_EQ(Cell(5, 5).type, 1);
  EXPECT_EQ(Cell(31, 23).type, 3);
}

TEST_F(TileMapTest, BytesAfterTheMapAreNeverRead) {
  std::string bytes = MapBytes([](int c, int r) { return Record{c, r % 7}; });
  std::string junk = MapBytes([](int, int) { return Record{9, 7}; });  // index 7 would stop
  ASSERT_EQ(Load(bytes + junk), 1);
  EXPECT_EQ(Cell(31, 23).type, 31);
  EXPECT_EQ(Cell(31, 23).sprite, 102);
}

TEST_F(TileMapTest, MissingFileLoadsNothing) {
  std::remove(path_.c_str());
  EXPECT_EQ(skipdale::LoadTileMap(map_, path_.c_str()), 0);
  EXPECT_EQ(Cell(0, 0).sprite, -1);
}

// The map file's channel is given back once the map is read.
TEST_F(TileMapTest, LoadingGivesItsChannelBack) {
  ASSERT_EQ(Load(MapBytes([](int, int) { return Record{0, 128}; })), 1);
  EXPECT_EQ(qrv::FreeChannel(), 0);
}

TEST_F(TileMapTest, GraphicIndexOutsideTheListStopsWithError9) {
  for (int32_t bad : {7, -8, 1000, INT32_MIN}) {
    SCOPED_TRACE(bad);
    std::string bytes = MapBytes([&](int c, int r) {
      return Record{0, c == 3 && r == 2 ? bad : 0};
    });
    game_test::WriteFile(path_, bytes);
    qrv_test::ExpectErrorStop(9, [&] { skipdale::LoadTileMap(map_, path_.c_str()); });
  }
}

TEST_F(TileMapTest, ShortFileStopsWithError3) {
  const std::string whole = MapBytes([](int, int) { return Record{1, 0}; });
  for (size_t size : {size_t{0}, size_t{3}, size_t{8}, whole.size() - 4, whole.size() - 1}) {
    SCOPED_TRACE(size);
    game_test::WriteFile(path_, whole.substr(0, size));
    qrv_test::ExpectErrorStop(3, [&] { skipdale::LoadTileMap(map_, path_.c_str()); });
  }
}

TEST_F(TileMapTest, CellAccessFollowsTheArrayRules) {
  map_.cells.ElementAt(31, 4).type = 2;
  EXPECT_EQ(skipdale::TileTypeAt(map_.cells, -1, 4), 2);
  EXPECT_EQ(skipdale::TileTypeAt(map_.cells, -32, 4), 0);
  struct Index {
    int32_t c, r;
  };
  for (Index bad : {Index{32, 0}, Index{-33, 0}, Index{0, 24}, Index{0, -1}, Index{40, 30}}) {
    SCOPED_TRACE(testing::Message() << bad.c << ", " << bad.r);
    qrv_test::ExpectErrorStop(9, [&] { skipdale::TileTypeAt(map_.cells, bad.c, bad.r); });
  }
}

// The player starts at (100, 100) facing right and moves on its own copy of the map.
TEST_F(TileMapTest, PlayerStartsWithItsOwnCopyOfTheMap) {
  qrv::RtArray<int32_t> sprites;
  sprites.Dim(2);
  sprites.ElementAt(0) = 200, sprites.ElementAt(1) = 201;
  skipdale::Player p;
  skipdale::InitPlayer(p, sprites, map_);
  EXPECT_EQ((std::vector<int32_t>{p.x, p.y, p.height, p.width, p.dx, p.dy, p.facingRight, p.inAir,
                                  p.lastColumn, p.lastRow}),
            (std::vector<int32_t>{100, 100, 37, 11, 0, 0, 1, 0, 5, 6}));
  EXPECT_EQ(p.sprites.ElementAt(1), 201);
  EXPECT_EQ(p.tileSprites.ElementAt(6), 106);
  map_.cells.ElementAt(5, 6).type = 1;  // a floor under the player, but only in the map
  skipdale::MovePlayer(p);
  EXPECT_EQ(p.inAir, 1);
  EXPECT_EQ(p.y, 100);
  EXPECT_EQ(p.dy, 1);
}

}  // namespace
