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
    Device().GiveOwnTexture(10);  // small ones start on an atlas page
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

// An opaque w x h picture saved as a PNG file: colour(x, y) gives each pixel's value.
template <class Colour>
std::string PictureFile(const TempFolder& folder, const std::string& name, int32_t w,
                        int32_t h, Colour colour) {
  RgbaImage image;
  image.Resize(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t c = colour(x, y);
      const uint8_t p[4] = {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 255};
      std::copy_n(p, 4, image.Row(y) + x * 4);
    }
  }
  EXPECT_TRUE(SaveImageFile(folder.Path(name), image));
  return folder.Path(name);
}

TEST_F(SpriteFiles, AnimationsAndNormalMapsFromFiles) {
  TempFolder folder("sprite_files");
  // Two 2 x 2 frames side by side: red, then blue.
  const std::string sheet = PictureFile(folder, "sheet.png", 4, 2, [](int32_t x, int32_t) {
    return x < 2 ? 0x0000FFu : 0xFF0000u;
  });
  LoadAnimSprite(sheet.c_str(), 15, 2, 2);
  EXPECT_EQ(LastError(), 0);
  EXPECT_EQ(Device().sprites[15].frameWidth, 2);
  EXPECT_EQ(Device().sprites[15].frameHeight, 2);
  DrawFrame(15, 1, 10, 10);
  EXPECT_EQ(LitPixels(), (std::vector<std::pair<int32_t, int32_t>>{{10, 10}, {11, 10}, {10, 11},
                                                                   {11, 11}}));
  EXPECT_EQ(Pixel(11, 11), 0xFF0000u);
  LoadAnimSprite("no/such/sheet.png", 15, 2, 2);
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(Device().sprites[15].width, 0);

  // A height field (blue) rising to the right: the surface leans left, so its normals point
  // left (red below the middle 127), neither up nor down the picture (green 127), and
  // mostly out of it (blue between 127 and 255).
  const std::string ramp = PictureFile(folder, "ramp.png", 16, 16, [](int32_t x, int32_t) {
    return uint32_t(x * 12) << 16;
  });
  LoadNormalMapSprite(ramp.c_str(), 16);
  EXPECT_EQ(LastError(), 0);
  RgbaImage normals;
  ASSERT_TRUE(Device().ReadSpriteImage(16, normals));
  const uint8_t* n = normals.Row(8) + 8 * 4;
  EXPECT_LT(n[0], 120);
  EXPECT_EQ(n[1], 127);
  EXPECT_GT(n[2], 127);
  EXPECT_LT(n[2], 255);
  EXPECT_EQ(n[3], 255);
  LoadSprite(ramp.c_str(), 16);  // the same file as a plain sprite keeps its colours
  ASSERT_TRUE(Device().ReadSpriteImage(16, normals));
  EXPECT_EQ(ColourAt(normals, 8, 8), 96u << 16);
  LoadNormalMapSprite("no/such/heights.png", 16);
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(Device().sprites[16].width, 0);
}

TEST_F(SpriteFiles, SavedSpritesAndTheirTextures) {
  TempFolder folder("sprite_save");
  MakeSprite(17, 3, 2, {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x000000, 0x102030});
  ASSERT_TRUE(SaveSprite(folder.Path("saved.png").c_str(), 17));
  RgbaImage saved;
  ASSERT_TRUE(LoadImageFile(saved, folder.Path("saved.png"), kNoColourKey));
  ASSERT_EQ(saved.width, 3);
  ASSERT_EQ(saved.height, 2);
  const uint8_t expected[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                              0x56, 0x34, 0x12, 255, 0, 0, 0, 255, 0x30, 0x20, 0x10, 255};
  EXPECT_EQ(saved.pixels, std::vector<uint8_t>(std::begin(expected), std::end(expected)));
  FreeSprite(18);
  EXPECT_FALSE(SaveSprite(folder.Path("empty.png").c_str(), 18));
  EXPECT_EQ(LastError(), 3);
  EXPECT_FALSE(SaveSprite("/nonexistent/folder/x.png", 17));
  EXPECT_EQ(LastError(), 3);

  // The texture holds the picture bottom row first, in a 16 x 16 block.
  const uint32_t texture = SpriteTexture(17);
  ASSERT_NE(texture, 0u);
  std::vector<uint8_t> texels(16 * 16 * 4);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, GLuint(bound));
  EXPECT_EQ(std::vector<uint8_t>(texels.begin(), texels.begin() + 4),
            (std::vector<uint8_t>{0x56, 0x34, 0x12, 255}));
  EXPECT_EQ(std::vector<uint8_t>(texels.begin() + 64, texels.begin() + 68),
            (std::vector<uint8_t>{255, 0, 0, 255}));
  EXPECT_EQ(SpriteTexture(18), 0u);
  EXPECT_EQ(SpriteTexture(-1), 0u);
  EXPECT_EQ(SpriteTexture(kSpriteCount), 0u);
}

// With the debug flag (or QRV_VERBOSE=1) every loading or saving failure says what was
// asked of which file, and why it failed; each command clears the last error first.
TEST_F(SpriteFiles, LoadingFailuresSayTheCommandTheFileAndWhy) {
  TempFolder folder("load_failures");
  WriteBytes(folder.Dir() / "text.png",
             {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'});
  const std::string text = folder.Path("text.png");
  const std::string picture =
      PictureFile(folder, "one.png", 1, 1, [](int32_t, int32_t) { return 0x00FF00u; });
  Settings().debugFlag = 1;
  testing::internal::CaptureStderr();
  std::vector<int32_t> errors;
  auto load = [&](auto command) {
    Settings().debugFlag = 0;
    RecordError(5);  // cleared by the command
    Settings().debugFlag = 1;
    command();
    errors.push_back(LastError());
  };
  load([] { LoadFont("no/such/font.png", 3); });
  load([&] { LoadFont(text.c_str(), 3); });
  load([&] { LoadFont(picture.c_str(), 3); });
  load([] { LoadBackground("no/such/back.png"); });
  load([&] { LoadBackground(text.c_str()); });
  load([] { LoadAnimSprite("no/such/sheet.png", 15, 2, 2); });
  load([&] { LoadNormalMapSprite(text.c_str(), 16); });
  load([&] { LoadSprite(picture.c_str(), 16); });
  load([] { FadeToBackground("no/such/next.png", 0); });
  load([] { SaveScreen("/nonexistent/folder/screen.png"); });
  load([] { SaveSprite("/nonexistent/folder/sprite.png", 16); });
  const std::string lines = testing::internal::GetCapturedStderr();
  Settings().debugFlag = 0;
  Device().BuildDefaultFont(3);
  Device().SelectFont(0);
  Device().ClearTiledImage(0);
  EXPECT_EQ(errors, (std::vector<int32_t>{3, 3, 0, 3, 3, 3, 3, 0, 3, 3, 3}));
  const std::string notImage = ": not a BMP, PNG or JPEG image\n";
  EXPECT_EQ(lines, "LoadFont: no/such/font.png: no such file\n"
                   "LoadFont: " + text + notImage +
                   "LoadBackground: no/such/back.png: no such file\n"
                   "LoadBackground: " + text + notImage +
                   "LoadAnimSprite: no/such/sheet.png: no such file\n"
                   "LoadNormalMapSprite: " + text + notImage +
                   "FadeToBackground: no/such/next.png: no such file\n"
                   "SaveScreen: /nonexistent/folder/screen.png: cannot be written\n"
                   "SaveSprite: /nonexistent/folder/sprite.png: cannot be written\n");
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
  // An empty picture frees the slot first, then fails.
  RtArray<int32_t> none;
  EXPECT_FALSE(SpriteFromPixels(none, 15, 0, 0));
  EXPECT_EQ(Device().sprites[15].width, 0);
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
      // Positions at the int32 limits neither wrap nor overflow.
      {20, INT32_MAX - 2, 0, 20, INT32_MAX - 2, 0, true},
      {20, 0, INT32_MAX - 1, 20, 0, INT32_MAX - 3, true},
      {20, INT32_MAX - 1, 0, 20, INT32_MIN, 0, false},
      {20, INT32_MIN, INT32_MIN, 20, INT32_MIN + 3, INT32_MIN + 3, true},
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
  for (int32_t frame : {INT32_MIN, INT32_MAX, INT32_MIN + 1}) {
    EXPECT_FALSE(FrameCollision(22, frame, 0, 0, 23, 0, 5, 5)) << frame;
    EXPECT_FALSE(FrameCollision(22, frame, INT32_MAX, INT32_MAX, 23, 0, INT32_MAX, 5)) << frame;
    DrawFrame(22, frame, 0, 0);  // far off the sheet: computes no overflow
  }
  // Whatever part of the sheet such a frame samples, it stays inside its 16 x 16 box.
  const auto lit = LitPixels();
  EXPECT_TRUE(std::all_of(lit.begin(), lit.end(), [](const auto& p) {
    return p.first < 16 && p.second < 16;
  }));
  DrawFrame(22, 0, 40, 20);
  EXPECT_EQ(LitPixels().size(), lit.size() + 256);
}

}  // namespace
}  // namespace qrv::test
