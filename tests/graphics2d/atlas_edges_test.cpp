// Sprites on shared atlas pages against the same sprites in textures of their own
// (QRV_NO_ATLAS=1): small sprites that touch on one page, with colours that differ
// sharply across every edge, drawn plain, scaled, stretched, turned, smoothed and by
// frame, must give the very same pixels. Pages are shared, reused and deleted when empty.
#include <algorithm>
#include <cstdlib>

#include "device_fixture.h"
#include "platform/host_services.h"

namespace qrv::test {
namespace {

constexpr int32_t kDot = 40, kBar = 41, kSquare = 42, kSheet = 43, kTall = 44, kEdgy = 45;
constexpr int32_t kEdgeIds[] = {kDot, kBar, kSquare, kSheet, kTall, kEdgy};

// Saturated texels, a different colour at every position and id, alpha 255 or (with
// holes) 0 on a diagonal, so that anything pulled in from a neighbour shows.
std::vector<uint32_t> Loud(int32_t w, int32_t h, uint32_t seed, bool holes) {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      uint32_t v =
          (uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ seed * 83492791u) * 2654435761u;
      v = (v >> 8 & 0xFFFFFF) | 0x808080u >> (seed % 3 * 8);
      const bool hole = holes && (x + y) % 5 == 0;
      out.push_back(hole ? (v & 0xFFFFFF) | 0x01000000u : v | 0xFF000000u);
    }
  }
  return out;
}

class AtlasEdges : public DeviceTest {
 protected:
  void TearDown() override {
    platform::RemoveEnvironmentValue("QRV_NO_ATLAS");
    for (int32_t id : kEdgeIds) FreeSprite(id);
    Device().SetDefault2DState(0, 0, 0, 0);
  }
  // The sprites, on pages or (ownTextures) each in a texture of its own. Sizes: under,
  // at and over powers of two, so that both kinds of edge (padding beside, texture edge)
  // are met.
  static void MakeSprites(bool ownTextures) {
    if (ownTextures) {
      platform::SetEnvironmentValue("QRV_NO_ATLAS", "1");
    } else {
      platform::RemoveEnvironmentValue("QRV_NO_ATLAS");
    }
    MakeSprite(kDot, 3, 2, Loud(3, 2, 1, false));
    MakeSprite(kBar, 17, 5, Loud(17, 5, 2, false));
    MakeSprite(kSquare, 16, 16, Loud(16, 16, 3, false));
    MakeSprite(kSheet, 24, 16, Loud(24, 16, 4, false));
    Device().SetFrameSize(kSheet, 8, 8);
    MakeSprite(kTall, 4, 32, Loud(4, 32, 5, true));
    MakeSprite(kEdgy, 9, 9, Loud(9, 9, 6, true));
    platform::RemoveEnvironmentValue("QRV_NO_ATLAS");
  }
  // The scene drawn on a black screen, as colour values.
  static std::vector<uint32_t> Drawn(void (*scene)()) {
    Device().SetDefault2DState(0, 0, 0, 0);
    ClearScreen(0);
    scene();
    const std::vector<uint32_t> colours = ScreenColours();
    Device().SetDefault2DState(0, 0, 0, 0);
    return colours;
  }
  // The scene with sprites on pages, then with textures of their own: the same pixels,
  // and a scene that draws something.
  static void ExpectSamePixels(void (*scene)()) {
    MakeSprites(false);
    for (int32_t id : kEdgeIds) {
      EXPECT_NE(Device().sprites[size_t(id)].pageTexture, 0u) << id;
      EXPECT_EQ(Device().sprites[size_t(id)].pageTexture, Device().sprites[kDot].pageTexture) << id;
    }
    const std::vector<uint32_t> onPages = Drawn(scene);
    MakeSprites(true);
    for (int32_t id : kEdgeIds) EXPECT_EQ(Device().sprites[size_t(id)].pageTexture, 0u) << id;
    const std::vector<uint32_t> own = Drawn(scene);
    int32_t lit = 0, differing = 0;
    for (size_t i = 0; i < own.size(); ++i) {
      lit += own[i] != 0 ? 1 : 0;
      if (own[i] != onPages[i] && ++differing <= 5) {
        ADD_FAILURE() << "pixel (" << i % kScreenW << ", " << i / kScreenW << "): own texture "
                      << std::hex << own[i] << ", page " << onPages[i];
      }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(lit, 200);
  }
};

void ScaledAndStretched() {
  for (int32_t smoothing : {1, 0}) {
    SetSmoothing(smoothing);
    const int32_t dy = smoothing * 32;
    DrawSpriteScaled(kDot, 4, 4 + dy, 5.5, 7.25);
    DrawSpriteScaled(kBar, 20, 6 + dy, 2.3, 3.1);
    DrawSpriteStretched(kSquare, 60, dy, 33, 29);
    DrawSpriteScaled(kSquare, 50, 2 + dy, 0.45, 0.7);  // smaller: texels skipped
    DrawSpriteStretched(kTall, 2, 12 + dy, 13, 19);
    DrawSpriteStretched(kEdgy, 80, 20 + dy, -14, -11);  // mirrored
    DrawSpriteScaled(kSheet, 30, 20 + dy, 1.7, 0.9);
  }
}

void Turned() {
  SetSmoothing(1);
  DrawSpriteRotated(kSquare, 10, 10, 33, 1.6f);
  DrawSpriteRotated(kBar, 40, 6, 91, 2.5f);
  DrawSpriteRotated(kDot, 70, 10, -45, 6.0f);
  DrawSpriteRotated(kEdgy, 80, 40, 17, 2.2f);
  SetSmoothing(0);
  DrawSpriteRotated(kTall, 20, 28, 200, 0.8f);
  DrawSpriteRotated(kSheet, 45, 36, 12.5f, 1.3f);
  DrawSpriteRotated(kEdgy, 66, 44, -30, 3.0f);
}

void Frames() {
  for (int32_t smoothing : {0, 1}) {
    SetSmoothing(smoothing);
    for (int32_t frame = 0; frame < 6; ++frame) {
      DrawFrame(kSheet, frame, 2 + frame * 10, 2 + smoothing * 10);
    }
  }
  SetSmoothing(1);
  DrawFrameStretched(kSheet, 5, 2, 24, 21, 17);  // top-right frame: two outer edges
  DrawFrameStretched(kSheet, 0, 26, 24, 5, 13);
  DrawFrameRotated(kSheet, 2, 40, 30, 37, 2.3f);
  SetSmoothing(0);
  DrawFrameStretched(kSheet, 3, 60, 24, 30, 9);
  DrawFrameRotated(kSheet, 4, 74, 42, -61, 2.7f);
  DrawFrame(kSheet, 7, 80, 2);   // beyond the last frame: wraps on its own texture
  DrawFrame(kSheet, -1, 88, 2);  // before the first
}

// Plain sprites touching on screen and on the page, then drawn under a moved projection
// (direct GL calls), where the exact drawing's repeat wrap shows at the edges.
void PlainAndMoved() {
  for (int32_t smoothing : {0, 1}) {
    SetSmoothing(smoothing);
    int32_t x = 1;
    for (int32_t id : kEdgeIds) {
      DrawSprite(id, x, 1 + smoothing * 34);
      x += TheRuntime().device->sprites[size_t(id)].width;
    }
  }
  TheRuntime().device->FlushBatch();
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0.37f, 0.61f, 0);
  SetSmoothing(1);
  int32_t x = 30;
  for (int32_t id : {kDot, kBar, kSquare, kEdgy}) {
    DrawSprite(id, x, 12);
    x += 20;
  }
  DrawFrame(kSheet, 2, 8, 20);
  TheRuntime().device->FlushBatch();
  glLoadIdentity();
}

TEST_F(AtlasEdges, ScaledAndStretchedSpritesMatchTheirOwnTextures) {
  ExpectSamePixels(ScaledAndStretched);
}

TEST_F(AtlasEdges, TurnedSpritesMatchTheirOwnTextures) {
  ExpectSamePixels(Turned);
}

TEST_F(AtlasEdges, FramesMatchTheirOwnTextures) {
  ExpectSamePixels(Frames);
}

TEST_F(AtlasEdges, PlainSpritesMatchTheirOwnTexturesUnderAnyProjection) {
  ExpectSamePixels(PlainAndMoved);
}

// Which offsets of one sprite against another make a collision, over a square of them.
std::vector<bool> Collisions(int32_t a, int32_t b) {
  std::vector<bool> hits;
  for (int32_t dy = -12; dy <= 12; ++dy) {
    for (int32_t dx = -12; dx <= 12; ++dx) hits.push_back(SpriteCollision(a, 0, 0, b, dx, dy));
  }
  return hits;
}

TEST_F(AtlasEdges, ReadingAndHandingOutWorkAsOnOwnTextures) {
  MakeSprites(true);
  std::vector<int32_t> ownPixels;
  ASSERT_TRUE(Device().SpriteToPixels(ownPixels, kEdgy));
  const std::vector<bool> ownHits = Collisions(kEdgy, kTall);
  MakeSprites(false);
  std::vector<int32_t> pagePixels;
  ASSERT_TRUE(Device().SpriteToPixels(pagePixels, kEdgy));
  EXPECT_EQ(pagePixels, ownPixels);  // transparent texels too, with their filled colours
  EXPECT_EQ(Collisions(kEdgy, kTall), ownHits);
  EXPECT_NE(std::count(ownHits.begin(), ownHits.end(), false), 0);
  EXPECT_NE(std::count(ownHits.begin(), ownHits.end(), true), 0);
  const uint32_t page = Device().sprites[kEdgy].pageTexture;
  const uint32_t handed = SpriteTexture(kEdgy);
  EXPECT_NE(handed, 0u);
  EXPECT_NE(handed, page);
  EXPECT_EQ(Device().sprites[kEdgy].pageTexture, 0u);   // written by others from now on
  EXPECT_EQ(Device().sprites[kDot].pageTexture, page);  // the others stay
  std::vector<int32_t> movedPixels;
  ASSERT_TRUE(Device().SpriteToPixels(movedPixels, kEdgy));
  EXPECT_EQ(movedPixels, ownPixels);
}

TEST_F(AtlasEdges, PagesAreSharedReusedAndDeletedWhenEmpty) {
  for (int32_t id = 0; id < kFontSlotBase; ++id) FreeSprite(id);  // earlier tests' sprites
  MakeSprites(false);
  const uint32_t page = Device().sprites[kDot].pageTexture;
  ASSERT_EQ(glIsTexture(page), GL_TRUE);
  EXPECT_EQ(Device().sprites[kDot].texture, 0u);  // no texture of its own until needed
  const AtlasPlace before = Device().atlasSprites.at(kSquare).place;
  FreeSprite(kSquare);
  MakeSprite(kSquare, 16, 16, Loud(16, 16, 9, false));
  EXPECT_EQ(Device().sprites[kSquare].pageTexture, page);
  const AtlasPlace after = Device().atlasSprites.at(kSquare).place;
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  for (int32_t id : kEdgeIds) FreeSprite(id);
  EXPECT_EQ(glIsTexture(page), GL_FALSE);
  // Larger than 256 a side: a texture of its own.
  MakeSprite(kDot, 257, 3, Loud(257, 3, 1, false));
  EXPECT_EQ(Device().sprites[kDot].pageTexture, 0u);
  EXPECT_NE(Device().sprites[kDot].texture, 0u);
}

}  // namespace
}  // namespace qrv::test
