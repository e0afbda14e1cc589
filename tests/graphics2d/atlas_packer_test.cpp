// The atlas packer on its own: rectangles never overlap and stay on their page, freed room
// is used again, a page that empties is given up, and sizes outside a page are refused.
#include "graphics2d/atlas_packer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

namespace qrv::test {
namespace {

// Which texels of each page are taken, kept beside the packer to check it.
class Occupancy {
 public:
  explicit Occupancy(int32_t side) : side_(side) {}
  // Marks the place; false when it leaves its page or covers a taken texel.
  bool Take(const AtlasPlace& p) { return Mark(p, true); }
  bool Give(const AtlasPlace& p) { return Mark(p, false); }

 private:
  bool Mark(const AtlasPlace& p, bool taken) {
    if (p.page < 0 || p.x < 0 || p.y < 0 || p.x + p.w > side_ || p.y + p.h > side_) return false;
    if (size_t(p.page) >= pages_.size()) pages_.resize(size_t(p.page) + 1);
    std::vector<bool>& texels = pages_[size_t(p.page)];
    texels.resize(size_t(side_) * size_t(side_));
    bool ok = true;
    for (int32_t y = p.y; y < p.y + p.h; ++y) {
      for (int32_t x = p.x; x < p.x + p.w; ++x) {
        const size_t i = size_t(y) * size_t(side_) + size_t(x);
        ok = ok && texels[i] != taken;
        texels[i] = taken;
      }
    }
    return ok;
  }
  int32_t side_;
  std::vector<std::vector<bool>> pages_;
};

TEST(AtlasPacker, PlacesNeverOverlapAndFreedRoomIsUsedAgain) {
  constexpr int32_t kSide = 128;
  AtlasPacker packer(kSide);
  Occupancy occupancy(kSide);
  std::mt19937 random(7);
  std::vector<AtlasPlace> live;
  int32_t mostPages = 0;
  for (int32_t step = 0; step < 4000; ++step) {
    if (live.size() >= 60 || (!live.empty() && random() % 2 == 0)) {
      const size_t i = random() % live.size();
      ASSERT_TRUE(occupancy.Give(live[i]));
      packer.Free(live[i]);
      live.erase(live.begin() + std::ptrdiff_t(i));
      continue;
    }
    const int32_t w = 1 + int32_t(random() % 40), h = 1 + int32_t(random() % 40);
    AtlasPlace place;
    bool newPage = false;
    ASSERT_TRUE(packer.Place(w, h, place, newPage));
    ASSERT_EQ(place.w, w);
    ASSERT_EQ(place.h, h);
    ASSERT_TRUE(occupancy.Take(place)) << "step " << step << " page " << place.page << " at "
                                       << place.x << "," << place.y << " " << w << "x" << h;
    live.push_back(place);
    mostPages = std::max(mostPages, packer.PagesInUse());
  }
  // At most 60 of the 2000 or so rectangles live at a time (about 25000 texels, a page and
  // a half): without reuse they would take some 50 pages by the end.
  EXPECT_LE(mostPages, 6);
}

TEST(AtlasPacker, FreedRoomTakesTheSameSizeAgainWithoutANewPage) {
  AtlasPacker packer(64);
  std::vector<AtlasPlace> places;
  AtlasPlace place;
  bool newPage = false;
  // Sixteen 16 x 16 fill the page exactly.
  for (int32_t i = 0; i < 16; ++i) {
    ASSERT_TRUE(packer.Place(16, 16, place, newPage));
    EXPECT_EQ(newPage, i == 0);
    EXPECT_EQ(place.page, 0);
    places.push_back(place);
  }
  const AtlasPlace freed = places[5];
  EXPECT_FALSE(packer.Free(freed));
  ASSERT_TRUE(packer.Place(16, 16, place, newPage));
  EXPECT_FALSE(newPage);
  EXPECT_EQ(place.page, freed.page);
  EXPECT_EQ(place.x, freed.x);
  EXPECT_EQ(place.y, freed.y);
  // The page is full again: the next goes on a page of its own.
  ASSERT_TRUE(packer.Place(16, 16, place, newPage));
  EXPECT_TRUE(newPage);
  EXPECT_EQ(place.page, 1);
  EXPECT_EQ(packer.PagesInUse(), 2);
}

TEST(AtlasPacker, AnEmptiedPageIsGivenUpAndItsNumberReused) {
  AtlasPacker packer(32);
  AtlasPlace a, b, c;
  bool newPage = false;
  ASSERT_TRUE(packer.Place(32, 20, a, newPage));
  ASSERT_TRUE(packer.Place(32, 20, b, newPage));  // no room above a: page 1
  EXPECT_TRUE(newPage);
  ASSERT_EQ(b.page, 1);
  EXPECT_TRUE(packer.Free(a));
  EXPECT_EQ(packer.PagesInUse(), 1);
  EXPECT_FALSE(packer.Free(a));                   // twice: not handed out any more
  ASSERT_TRUE(packer.Place(10, 20, c, newPage));  // no room above b
  EXPECT_TRUE(newPage);                           // page 0 was given up, its texture deleted
  EXPECT_EQ(c.page, 0);
}

TEST(AtlasPacker, AShelfEmptiedAtTheTopComesDownForAnotherHeight) {
  AtlasPacker packer(32);
  AtlasPlace wide, low, tall;
  bool newPage = false;
  ASSERT_TRUE(packer.Place(32, 10, wide, newPage));
  ASSERT_TRUE(packer.Place(8, 8, low, newPage));
  EXPECT_EQ(low.y, 10);
  EXPECT_FALSE(packer.Free(low));
  ASSERT_TRUE(packer.Place(8, 20, tall, newPage));  // 18 + 20 would not fit under 32
  EXPECT_FALSE(newPage);
  EXPECT_EQ(tall.page, wide.page);
  EXPECT_EQ(tall.y, 10);
}

TEST(AtlasPacker, SizesAtTheLimitsFitAndOthersAreRefusedWithoutAPage) {
  AtlasPacker packer(256);
  AtlasPlace place;
  bool newPage = true;
  for (const auto& [w, h] : std::vector<std::pair<int32_t, int32_t>>{
           {0, 5}, {5, 0}, {-1, 5}, {257, 1}, {1, 257}, {INT_MAX, INT_MAX}, {INT_MIN, 3}}) {
    EXPECT_FALSE(packer.Place(w, h, place, newPage)) << w << "x" << h;
    EXPECT_FALSE(newPage);
  }
  EXPECT_EQ(packer.PagesInUse(), 0);
  ASSERT_TRUE(packer.Place(256, 256, place, newPage));
  EXPECT_EQ(place.x, 0);
  EXPECT_EQ(place.y, 0);
  ASSERT_TRUE(packer.Place(1, 1, place, newPage));
  EXPECT_EQ(place.page, 1);
  // Room that was never handed out is ignored.
  EXPECT_FALSE(packer.Free(AtlasPlace{5, 0, 0, 1, 1}));
  EXPECT_FALSE(packer.Free(AtlasPlace{1, 200, 0, 1000, 1}));
  EXPECT_EQ(packer.PagesInUse(), 2);
}

}  // namespace
}  // namespace qrv::test
