// Sprites wait in a batch, yet the screen must show every command in the order it was
// given: whatever comes between two sprites (a primitive, new pixels for the sprite, a
// mode change, text, a surface, a read-back, GL calls of other code after FlushBatch)
// lands between them.
#include "device_fixture.h"

namespace qrv::test {
namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

class BatchOrder : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    MakeSprite(1, 8, 8, std::vector<uint32_t>(64, kRed));
    MakeSprite(2, 8, 8, std::vector<uint32_t>(64, kBlue));
  }
};

TEST_F(BatchOrder, APrimitiveBetweenTwoSpritesStaysBetweenThem) {
  DrawSprite(1, 0, 0);
  FillRect(4, 4, 8, 8, int32_t(kGreen));
  DrawSprite(1, 8, 8);
  DrawLine(0, 20, 30, 20, int32_t(kGreen));
  DrawSprite(1, 10, 17);
  PlotPixel(12, 18, int32_t(kGreen));
  DrawSprite(1, 40, 0);
  DrawCircle(44, 4, 3, int32_t(kGreen), 1);  // rows 1..7, 41..47 on row 4
  DrawSprite(1, 46, 0);
  EXPECT_EQ(Pixel(2, 2), kRed);     // first sprite alone
  EXPECT_EQ(Pixel(5, 5), kGreen);   // the rectangle over the first sprite
  EXPECT_EQ(Pixel(9, 9), kRed);     // the second sprite over the rectangle
  EXPECT_EQ(Pixel(5, 11), kGreen);  // the rectangle where no sprite covers it
  EXPECT_EQ(Pixel(2, 20), kGreen);
  EXPECT_EQ(Pixel(12, 20), kRed);    // the third sprite over the line
  EXPECT_EQ(Pixel(12, 18), kGreen);  // the point over the third sprite
  EXPECT_EQ(Pixel(41, 0), kRed);     // the sprite above the circle
  EXPECT_EQ(Pixel(42, 4), kGreen);   // the circle over the sprite before it
  EXPECT_EQ(Pixel(47, 4), kRed);     // the sprite after it over the circle
}

TEST_F(BatchOrder, NewPixelsForASpriteShowOnlyInLaterDraws) {
  DrawSprite(1, 0, 0);
  MakeSprite(1, 8, 8, std::vector<uint32_t>(64, kGreen));
  DrawSprite(1, 10, 0);
  // Grabbed over its own picture: the grab sees the sprites drawn before it.
  GrabSprite(1, 0, 0, 8, 8);
  DrawSprite(1, 20, 0);
  FreeSprite(1);
  DrawSprite(1, 30, 0);  // an empty slot draws nothing
  EXPECT_EQ(Pixel(3, 3), kRed);
  EXPECT_EQ(Pixel(13, 3), kGreen);
  EXPECT_EQ(Pixel(23, 3), kRed);
  EXPECT_EQ(Pixel(33, 3), 0u);
}

TEST_F(BatchOrder, ModesTextAndReadBacksTakeEffectBetweenSprites) {
  ClearScreen(int32_t(0x202020));
  DrawSprite(2, 0, 0);
  SetAlphaMode(1);  // additive
  DrawSprite(1, 0, 0);
  SetAlphaMode(0);
  DrawSprite(2, 4, 0);
  EXPECT_EQ(GetPixel(2, 2), int32_t(0xFF00FF));  // read back between sprites
  DrawSprite(1, 8, 0);
  Device().BuildDefaultFont(0);
  DrawSprite(1, 20, 10);
  Device().PrintText(0, "\x7F", 20, 10, 0);  // code 127 is a box
  DrawSprite(2, 24, 14);
  EXPECT_EQ(Pixel(2, 2), 0xFF00FFu);
  EXPECT_EQ(Pixel(6, 2), kBlue);
  EXPECT_EQ(Pixel(10, 2), kRed);
  EXPECT_EQ(Pixel(21, 11), 0xFFFFFFu);  // the glyph over the first sprite
  EXPECT_EQ(Pixel(23, 13), kRed);       // the sprite through the glyph's clear inside
  EXPECT_EQ(Pixel(25, 15), kBlue);      // the second sprite over the glyph
}

TEST_F(BatchOrder, SpritesBeforeASurfaceLandOnTheScreen) {
  DrawSprite(1, 0, 0);
  Device().CreateSurface(0, 3, 16, 16);
  EXPECT_EQ(UseSurface(0), 3);
  DrawSprite(2, 0, 0);
  UseSurface(-1);
  DrawSprite(3, 40, 0);
  EXPECT_EQ(Pixel(2, 2), kRed);
  EXPECT_EQ(Pixel(42, 2), kBlue);
  EXPECT_EQ(Pixel(42, 10), 0u);  // the surface's clear part
  FreeSprite(3);
}

// Code drawing with GL on its own (the 3D scene) calls FlushBatch first; the 2D drawing
// then sends again whatever it needs.
TEST_F(BatchOrder, AfterFlushBatchOtherGlCallsDoNotLeakIntoSprites) {
  DrawSprite(1, 0, 0);
  Device().FlushBatch();
  glBindTexture(GL_TEXTURE_2D, Device().sprites[2].texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glDisable(GL_TEXTURE_2D);
  DrawSprite(1, 10, 0);
  EXPECT_EQ(Pixel(3, 3), kRed);
  EXPECT_EQ(Pixel(13, 3), kRed);
}

TEST_F(BatchOrder, MoreSpritesThanOneBatchHoldsKeepTheirOrder) {
  for (int32_t i = 0; i < 10000; ++i) DrawSprite(i % 5000 == 4999 ? 2 : 1, i % 50, 0);
  DrawSprite(2, 60, 0);
  EXPECT_EQ(Pixel(49, 2), kBlue);  // the last sprite at x = 49 was the blue one
  EXPECT_EQ(Pixel(48, 2), kRed);
  EXPECT_EQ(Pixel(62, 2), kBlue);
}

}  // namespace
}  // namespace qrv::test
