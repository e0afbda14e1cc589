// The sprite table on a real GL context: texture sizes and coordinates, font slots,
// the edge-colour fill, loading from files, pixel arrays, free ids and collisions.
#include "device_fixture.h"
#include "image_fixtures.h"
#include "quorvia/frame.h"

namespace qrv::test {
namespace {

using SpriteStore = DeviceTest;

GLint TextureParameter(uint32_t texture, GLenum name) {
  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
  return value;
}

GLint TextureLevelWidth(uint32_t texture, GLint level) {
  GLint value = 0;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &value);
  return value;
}

TEST_F(SpriteStore, TextureSizesAndCoordinates) {
  const struct {
    int32_t w, h, texW, texH;
  } cases[] = {{20, 20, 32, 32}, {1, 1, 16, 16}, {16, 17, 16, 32}, {640, 480, 1024, 512}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    RgbaImage image;
    image.Resize(c.w, c.h);
    ASSERT_TRUE(Device().CreateSprite(10, image, false));
    const SpriteRecord& s = Device().sprites[10];
    EXPECT_EQ(s.texWidth, c.texW);
    EXPECT_EQ(s.texHeight, c.texH);
    EXPECT_FLOAT_EQ(s.uMax, float(c.w) / float(c.texW));
    EXPECT_FLOAT_EQ(s.vMax, float(c.h) / float(c.texH));
    EXPECT_EQ(TextureLevelWidth(s.texture, 0), c.texW);
    // The mipmapped copy is square and goes down to 1 x 1.
    EXPECT_EQ(TextureLevelWidth(s.mipTexture, 0), std::min(c.texW, c.texH));
    EXPECT_EQ(TextureParameter(s.mipTexture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  }
  EXPECT_EQ(Device().sprites[10].uMax, 0.625f);
  RgbaImage empty;
  EXPECT_FALSE(Device().CreateSprite(10, empty, false));
  EXPECT_EQ(Device().sprites[10].width, 0);
}

TEST_F(SpriteStore, FontSlotsAreNearestWithoutMipsOrNormalMaps) {
  RgbaImage image;
  image.Resize(3, 2);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(40 + i * 9);
  ASSERT_TRUE(Device().CreateSprite(kFontSlotBase + 3, image, true));
  const SpriteRecord& font = Device().sprites[kFontSlotBase + 3];
  EXPECT_EQ(font.mipTexture, 0u);
  EXPECT_EQ(TextureParameter(font.texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(TextureParameter(font.texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  RgbaImage back;
  ASSERT_TRUE(Device().ReadSpriteImage(kFontSlotBase + 3, back));
  EXPECT_EQ(back.pixels, image.pixels);
  // A user sprite asked for a normal map gets one: a flat height field points straight up.
  image.Resize(16, 16);
  image.pixels.assign(image.pixels.size(), 255);
  ASSERT_TRUE(Device().CreateSprite(11, image, true));
  ASSERT_TRUE(Device().ReadSpriteImage(11, back));
  EXPECT_EQ(back.Row(0)[0], 127);
  EXPECT_EQ(back.Row(0)[2], 255);
  EXPECT_EQ(TextureParameter(Device().sprites[11].texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
}

using SpriteFiles = DeviceTest;

TEST_F(SpriteFiles, TransparentBackgroundTakesItsNeighboursColour) {
  // 4 x 4 in the transparent colour except a green pixel at (2, 1) and a blue one at (2, 2).
  RgbaImage image;
  image.Resize(4, 4);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = 255, image.pixels[i + 2] = 128, image.pixels[i + 3] = 255;
  }
  const uint8_t green[4] = {0, 200, 0, 255}, blue[4] = {0, 0, 100, 255};
  std::copy_n(green, 4, image.Row(1) + 8);
  std::copy_n(blue, 4, image.Row(2) + 8);
  const std::string path = UniqueTempPath("edge").string() + ".bmp";
  ASSERT_TRUE(SaveImageFile(path, image));
  LoadSprite(path.c_str(), 12);
  EXPECT_EQ(LastError(), 0);
  RgbaImage back;
  ASSERT_TRUE(Device().ReadSpriteImage(12, back));
  auto rgba = [&](int32_t x, int32_t y) {
    const uint8_t* p = back.Row(y) + x * 4;
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
  };
  EXPECT_EQ(rgba(2, 1), 0xFF00C800u);
  EXPECT_EQ(rgba(1, 1), 0x00326400u);  // green and blue averaged
  EXPECT_EQ(rgba(3, 0), 0x0000C800u);  // green alone
  EXPECT_EQ(rgba(1, 3), 0x00640000u);  // blue alone
  EXPECT_EQ(rgba(0, 0), 0u);           // its neighbours lie on the texture's border
  std::filesystem::remove(path);
}

TEST_F(SpriteFiles, MissingFilesLeaveTheSlotEmptyWithError3) {
  MakeSprite(13, 2, 2, {1, 2, 3, 4});
  LoadSprite("no/such/picture.png", 13);
  EXPECT_EQ(LastError(), 3);
  int32_t w = -1, h = -1;
  SpriteSize(13, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  LoadSprite("whatever.bmp", 70000);  // outside the table
  EXPECT_EQ(LastError(), 3);
}

TEST_F(SpriteStore, FrameSizesNeedAnImageAndSurviveFreeing) {
  FreeSprite(14);
  SetFrameSize(14, 8, 8);
  EXPECT_EQ(Device().sprites[14].frameWidth, 0);
  MakeSprite(14, 16, 8, std::vector<uint32_t>(128, 0x00FF00));
  SetFrameSize(14, 8, 8);
  FreeSprite(14);
  EXPECT_EQ(Device().sprites[14].frameWidth, 8);
  EXPECT_EQ(Device().sprites[14].width, 0);
}

TEST_F(SpriteStore, PixelArraysRoundTripAndWrongCountsChangeNothing) {
  RtArray<int32_t> pixels;
  pixels.Dim(16);
  for (int32_t i = 0; i < 16; ++i) pixels.ElementAt(i) = int32_t(0x11223344u * uint32_t(i + 1));
  ASSERT_TRUE(SpriteFromPixels(pixels, 15, 4, 4));
  RtArray<int32_t> wrong;
  wrong.Dim(15);
  EXPECT_FALSE(SpriteFromPixels(wrong, 15, 4, 4));
  RtArray<int32_t> back;
  ASSERT_TRUE(SpriteToPixels(back, 15));
  ASSERT_EQ(back.Count(), 16);
  for (int32_t i = 0; i < 16; ++i) {
    if ((pixels.ElementAt(i) >> 24) & 0xFF) {
      EXPECT_EQ(back.ElementAt(i), pixels.ElementAt(i)) << i;
    }
  }
  FreeSprite(15);
  EXPECT_FALSE(SpriteToPixels(back, 15));
}

TEST_F(SpriteStore, FirstFreeSpriteSearchesUserIdsOnly) {
  std::vector<int16_t> saved;
  for (int32_t id = 0; id < kFontSlotBase; ++id) {
    saved.push_back(Device().sprites[size_t(id)].width);
    Device().sprites[size_t(id)].width = 1;
  }
  EXPECT_EQ(FirstFreeSprite(), -1);
  Device().sprites[777].width = 0;
  EXPECT_EQ(FirstFreeSprite(), 777);
  for (int32_t id = 0; id < kFontSlotBase; ++id) Device().sprites[size_t(id)].width = saved[size_t(id)];
}

TEST_F(SpriteStore, CollisionsArePixelExact) {
  MakeSprite(20, 4, 4, std::vector<uint32_t>(16, 0xFFFFFF));
  // Left half opaque, right half clear.
  std::vector<int32_t> half(16);
  for (int32_t i = 0; i < 16; ++i) half[size_t(i)] = i % 4 < 2 ? int32_t(0xFFFFFFFF) : 0;
  ASSERT_TRUE(Device().SpriteFromPixels(half, 21, 4, 4));
  const struct {
    int32_t a, xA, yA, b, xB, yB;
    bool hit;
  } cases[] = {
      {20, 0, 0, 20, 4, 0, false},   // boxes only touch
      {20, 0, 0, 20, 3, 3, true},    // one corner pixel in common
      {20, 0, 0, 20, 0, 4, false},   // touching vertically
      {21, 0, 0, 20, 2, 0, false},   // overlap only where 21 is clear
      {21, 0, 0, 20, 1, 0, true},
      {20, 10, 10, 20, 10, 10, true},
      {20, 0, 0, 30, 0, 0, false},   // an empty slot
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << "@" << c.xA << "," << c.yA << " " << c.b << "@"
                                    << c.xB << "," << c.yB);
    FreeSprite(30);
    EXPECT_EQ(SpriteCollision(c.a, c.xA, c.yA, c.b, c.xB, c.yB), c.hit);
  }
}

TEST_F(SpriteStore, FrameCollisionsUseTheFramesBox) {
  // 32 x 16 with two 16 x 16 frames: frame 0 opaque, frame 1 clear.
  std::vector<int32_t> sheet(32 * 16);
  for (int32_t i = 0; i < 32 * 16; ++i) sheet[size_t(i)] = i % 32 < 16 ? int32_t(0xFFFFFFFF) : 0;
  ASSERT_TRUE(Device().SpriteFromPixels(sheet, 22, 32, 16));
  SetFrameSize(22, 16, 16);
  MakeSprite(23, 2, 2, {0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_TRUE(FrameCollision(22, 0, 0, 0, 23, 0, 5, 5));
  EXPECT_FALSE(FrameCollision(22, 1, 0, 0, 23, 0, 5, 5));
  EXPECT_FALSE(FrameCollision(22, 0, 0, 0, 23, 0, 16, 5));  // outside the frame's box
  EXPECT_FALSE(FrameCollision(22, 9, 0, 0, 23, 0, 5, 5));   // a frame past the sheet
  EXPECT_FALSE(FrameCollision(22, -3, 0, 0, 23, 0, 5, 5));
}

}  // namespace
}  // namespace qrv::test
