// Off-screen surfaces, grabs and tiled images on a real GL context: drawing into a sprite
// through a frame buffer and through the copy-based way taken when QRV_GL_HIDE hides the
// frame-buffer extension, the screen in tiles, single pixels and the transparent key.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "device_fixture.h"
#include "frame/runtime.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/texture_upload.h"
#include "image_fixtures.h"
#include "quorvia/frame.h"

namespace qrv::test {
namespace {

// A screen of its own size for one test; the shared one comes back afterwards.
class LargeScreen : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Device().SetScreenMode(640, 480, 0, 0);
    Device().SetDefault2DState(0, 0, 0, 0);
    // The window grows once the display server has seen to it.
    for (int i = 0; i < 200; ++i) {
      platform::PumpEvents();
      platform::SwapBuffers(Device().window);
      Device().SetDefault2DState(0, 0, 0, 0);
      ClearScreen(0x010203);
      if (At(639, 0) == 0x010203u && At(0, 479) == 0x010203u) break;
      std::this_thread::sleep_for(std::chrono::microseconds(10000));
    }
    ASSERT_EQ(At(639, 0), 0x010203u);
    ClearScreen(0);
  }
  void TearDown() override {
    Device().SetScreenMode(kScreenW, kScreenH, 0, 0);
    Device().SetDefault2DState(0, 0, 0, 0);
  }
  static uint32_t At(int32_t x, int32_t y) {
    uint8_t p[4] = {};
    Device().FlushBatch();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, 480 - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] | p[1] << 8 | p[2] << 16;
  }
};

// The GL extensions named stay hidden while this lives.
class HiddenExtensions {
 public:
  explicit HiddenExtensions(const char* names) {
    test_host::SetVariable("QRV_GL_HIDE", names);
    FetchGlExtensions();
  }
  ~HiddenExtensions() {
    test_host::UnsetVariable("QRV_GL_HIDE");
    FetchGlExtensions();
  }
};

// A sprite's pixels as the player would see them: clear pixels count as 0 whatever colour
// they hold.
std::vector<uint32_t> VisiblePixels(OpenGLZozezezi& device, int32_t id) {
  std::vector<int32_t> pixels;
  EXPECT_TRUE(device.SpriteToPixels(pixels, id));
  std::vector<uint32_t> visible;
  for (int32_t p : pixels) visible.push_back(uint32_t(p) >> 24 == 0 ? 0 : uint32_t(p));
  return visible;
}

using Surfaces = LargeScreen;

TEST_F(Surfaces, DrawingLandsInTheSpriteWithAndWithoutFrameBuffers) {
  std::vector<uint32_t> pictures[2];
  for (bool frameBuffers : {true, false}) {
    SCOPED_TRACE(frameBuffers);
    std::unique_ptr<HiddenExtensions> hidden;
    if (!frameBuffers) hidden = std::make_unique<HiddenExtensions>("GL_EXT_framebuffer_object");
    ClearScreen(0x203040);
    Device().CreateSurface(0, 40, 100, 50);
    const SpriteRecord& s = Device().sprites[40];
    EXPECT_EQ(s.texWidth, 128);
    EXPECT_EQ(s.texHeight, 64);
    EXPECT_EQ(s.width, 100);
    const Framebuffer& framebuffer = Device().surfaces[0].framebuffer;
    ASSERT_EQ(framebuffer.Usable(), frameBuffers);
    if (frameBuffers) {
      EXPECT_EQ(framebuffer.Width(), 128);
      EXPECT_EQ(framebuffer.Height(), 64);
    }
    EXPECT_EQ(Device().UseSurface(0), 40);
    Device().PlotPixel(0, 0, 0x0000FF);
    Device().FillRect(10, 5, 30, 20, 0x00FF00);
    Device().PlotPixel(99, 49, 0xFF0000);
    EXPECT_EQ(Device().GetPixel(0, 0), 0x0000FF);
    Device().UseSurface(-1);
    EXPECT_EQ(Device().offscreenTarget, -1);
    // The screen is untouched (the copy-based way borrows its corner and gives it back).
    EXPECT_EQ(At(5, 5), 0x203040u);
    EXPECT_EQ(At(99, 49), 0x203040u);
    pictures[frameBuffers] = VisiblePixels(Device(), 40);
    const auto& p = pictures[frameBuffers];
    ASSERT_EQ(p.size(), 5000u);
    EXPECT_EQ(p[0], 0xFF0000FFu);  // (0, 0): the sprite's top-left pixel
    EXPECT_EQ(p[49 * 100 + 99], 0xFFFF0000u);
    EXPECT_EQ(p[5 * 100 + 10], 0xFF00FF00u);
    EXPECT_EQ(p[24 * 100 + 39], 0xFF00FF00u);
    EXPECT_EQ(p[1], 0u);
    EXPECT_EQ(p[25 * 100 + 40], 0u);
    // A second round draws on top of what the surface holds.
    Device().UseSurface(0);
    Device().PlotPixel(1, 0, 0xFFFFFF);
    Device().UseSurface(-1);
    pictures[frameBuffers] = VisiblePixels(Device(), 40);
    EXPECT_EQ(pictures[frameBuffers][0], 0xFF0000FFu);
    EXPECT_EQ(pictures[frameBuffers][1], 0xFFFFFFFFu);
    // Used as a sprite.
    ClearScreen(0);
    Device().DrawSprite(40, 200, 100);
    EXPECT_EQ(At(200, 100), 0x0000FFu);
    EXPECT_EQ(At(211, 106), 0x00FF00u);
    EXPECT_EQ(At(202, 100), 0u);
  }
  EXPECT_EQ(pictures[0], pictures[1]);
  // A surface never created, or a number outside 0..31, draws on the screen.
  EXPECT_EQ(Device().UseSurface(7), -1);
  EXPECT_EQ(Device().UseSurface(32), -1);
  EXPECT_EQ(Device().offscreenTarget, -1);
}

// The screen's top-left 160 x 80 pixels, rows from the bottom.
std::vector<uint32_t> Corner() {
  std::vector<uint32_t> pixels(160 * 80);
  TheRuntime().device->FlushBatch();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 480 - 80, 160, 80, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

TEST_F(Surfaces, TheScreenUnderASurfaceComesBackWholeEitherWay) {
  for (bool frameBuffers : {true, false}) {
    SCOPED_TRACE(frameBuffers);
    std::unique_ptr<HiddenExtensions> hidden;
    if (!frameBuffers) hidden = std::make_unique<HiddenExtensions>("GL_EXT_framebuffer_object");
    // Columns of the transparent colour and rows of black, under the surface's 100 x 50
    // and beyond it, where its 128 x 64 texture reaches.
    ClearScreen(0x203040);
    for (int32_t x = 0; x < 160; x += 3) Device().FillRect(x, 0, 1, 80, kDefaultTransparentColour);
    for (int32_t y = 1; y < 80; y += 5) Device().FillRect(0, y, 160, 1, 0);
    Device().FillRect(110, 55, 8, 4, 0x00FF00);
    const std::vector<uint32_t> before = Corner();
    Device().CreateSurface(0, 40, 100, 50);
    ASSERT_EQ(Device().surfaces[0].framebuffer.Usable(), frameBuffers);
    Device().UseSurface(0);
    Device().FillRect(10, 5, 30, 20, 0x00FF00);
    Device().UseSurface(-1);
    const std::vector<uint32_t> after = Corner();
    size_t changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    EXPECT_EQ(changed, 0u);
  }
}

TEST_F(LargeScreen, TheScreenGrabbedIntoOneTileAndDrawnBack) {
  Device().FillRect(0, 0, 640, 480, 0x102030);
  Device().FillRect(600, 440, 40, 40, 0x00FF00);
  Device().PlotPixel(0, 0, 0xFF0000);
  Device().GrabTiledImage(5);
  const TiledImage& grabbed = Device().tiledImages[5];
  ASSERT_EQ(grabbed.tilesX, 1);
  ASSERT_EQ(grabbed.tilesY, 1);
  const TextureTile& tile = grabbed.tiles[0][0];
  EXPECT_EQ(tile.texWidth, 1024);
  EXPECT_EQ(tile.texHeight, 1024);
  EXPECT_EQ(tile.usedWidth, 640);
  EXPECT_EQ(tile.usedHeight, 480);
  ClearScreen(0);
  Device().DrawTiledImage(5);
  EXPECT_EQ(At(0, 0), 0xFF0000u);
  EXPECT_EQ(At(1, 0), 0x102030u);
  EXPECT_EQ(At(639, 479), 0x00FF00u);
  EXPECT_EQ(At(599, 439), 0x102030u);
  Device().ClearTiledImage(5);
  EXPECT_EQ(Device().tiledImages[5].tilesX, 0);
  ClearScreen(0);
  Device().DrawTiledImage(5);
  EXPECT_EQ(At(0, 0), 0u);
}

TEST_F(LargeScreen, PixelsAndTheTransparentKeyOfGrabs) {
  Device().FillRect(0, 0, 640, 480, 0x123456);
  EXPECT_EQ(Device().GetPixel(300, 200), 0x123456);
  Device().PlotPixel(5, 7, 0x000000);
  Device().PlotPixel(6, 7, 0x8000FF);
  // The key as the frame buffer holds it; the probed pixel keeps its colour.
  EXPECT_EQ(uint32_t(Device().ProbeTransparentColour()), 0xFF008000u);
  EXPECT_EQ(Device().GetPixel(4, 4), 0x123456);
  // Under blending too the key itself is plotted, and the old pixel comes back exactly.
  for (double mode : {-0.5, 0.5}) {
    SCOPED_TRACE(mode);
    Device().SetAlphaMode(mode);
    EXPECT_EQ(uint32_t(Device().ProbeTransparentColour()), 0xFF008000u);
    EXPECT_EQ(Device().GetPixel(4, 4), 0x123456);
    // The blending in force stays: grey plotted afterwards mixes with the pixel under it.
    Device().PlotPixel(8, 8, 0x202020);
    EXPECT_NE(Device().GetPixel(8, 8), 0x202020);
  }
  Device().SetAlphaMode(0);
  ASSERT_EQ(Device().frameAlphaBits, 0) << "the key applies to frame buffers without alpha";
  // With the default key the magenta pixel goes clear; with key 0, black does.
  for (const auto& [key, clear] : {std::pair{kDefaultTransparentColour, 1}, std::pair{0, 0}}) {
    SCOPED_TRACE(key);
    Device().SetTransparentColour(key);
    ASSERT_TRUE(Device().GrabSprite(41, 5, 7, 2, 1));
    const std::vector<uint32_t> p = VisiblePixels(Device(), 41);
    EXPECT_EQ(p[size_t(clear)], 0u);
    EXPECT_EQ(p[size_t(1 - clear)], key == 0 ? 0xFF8000FFu : 0xFF000000u);
    EXPECT_EQ(Device().sprites[41].texWidth, 16);
  }
  Device().SetTransparentColour(kDefaultTransparentColour);
  EXPECT_FALSE(Device().GrabSprite(41, 0, 0, 0, 5));
}

using Grabs = DeviceTest;

// Coordinates far outside what is read never reach GL: pixels there read black, and the
// part of a grab outside the screen (or the surface) is clear.
TEST_F(Grabs, PixelsAndGrabsFarOutsideTheScreen) {
  Device().FillRect(0, 0, kScreenW, kScreenH, 0x204060);
  Device().PlotPixel(0, 0, 0x0000FF);
  Device().PlotPixel(kScreenW - 1, kScreenH - 1, 0x00FF00);
  EXPECT_EQ(Device().GetPixel(0, 0), 0x0000FF);
  EXPECT_EQ(Device().GetPixel(kScreenW - 1, kScreenH - 1), 0x00FF00);
  const std::pair<int32_t, int32_t> outside[] = {
      {INT_MAX, 0},       {0, INT_MAX}, {INT_MIN, 0},       {0, INT_MIN},       {INT_MAX, INT_MAX},
      {INT_MIN, INT_MIN}, {-1, 0},      {kScreenW, 0},      {0, kScreenH},      {0, -1}};
  for (const auto& [x, y] : outside) EXPECT_EQ(Device().GetPixel(x, y), 0) << x << "," << y;
  const std::pair<int32_t, int32_t> away[] = {
      {2147483642, 0}, {0, 2147483642}, {INT_MIN, INT_MIN}, {INT_MIN, 0}, {kScreenW, 0}};
  for (const auto& [x, y] : away) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    ASSERT_TRUE(Device().GrabSprite(41, x, y, 10, 10));
    EXPECT_EQ(VisiblePixels(Device(), 41), std::vector<uint32_t>(100, 0u));
  }
  // Across the top-left corner: the screen's part lands where it belongs.
  ASSERT_TRUE(Device().GrabSprite(41, -5, -3, 10, 10));
  std::vector<uint32_t> p = VisiblePixels(Device(), 41);
  EXPECT_EQ(p[3 * 10 + 5], 0xFF0000FFu);
  EXPECT_EQ(p[3 * 10 + 6], 0xFF204060u);
  EXPECT_EQ(p[9 * 10 + 9], 0xFF204060u);
  EXPECT_EQ(p[2 * 10 + 5], 0u);
  EXPECT_EQ(p[3 * 10 + 4], 0u);
  // Across the bottom-right corner.
  ASSERT_TRUE(Device().GrabSprite(41, kScreenW - 2, kScreenH - 1, 10, 10));
  p = VisiblePixels(Device(), 41);
  EXPECT_EQ(p[0], 0xFF204060u);
  EXPECT_EQ(p[1], 0xFF00FF00u);
  EXPECT_EQ(p[2], 0u);
  EXPECT_EQ(p[10 + 1], 0u);
  // The same inside a surface of 20 x 10, whose 32 x 16 texture the clear fills beyond the
  // surface's edges: what lies there is outside too.
  Device().CreateSurface(1, 42, 20, 10);
  ASSERT_EQ(Device().UseSurface(1), 42);
  Device().ClearScreen(0x0000FF);
  EXPECT_EQ(Device().GetPixel(19, 9), 0x0000FF);
  EXPECT_EQ(Device().GetPixel(0, 0), 0x0000FF);
  EXPECT_EQ(Device().GetPixel(20, 0), 0);
  EXPECT_EQ(Device().GetPixel(0, -1), 0);
  EXPECT_EQ(Device().GetPixel(0, 10), 0);
  EXPECT_EQ(Device().GetPixel(INT_MAX, INT_MIN), 0);
  ASSERT_TRUE(Device().GrabSprite(41, 2147483642, 0, 10, 10));
  ASSERT_TRUE(Device().GrabSprite(41, 15, 0, 10, 10));
  Device().UseSurface(-1);
  p = VisiblePixels(Device(), 41);
  EXPECT_EQ(p[4], 0xFF0000FFu);
  EXPECT_EQ(p[5], 0u);
}

TEST_F(Grabs, AGrabIntoATextureOfTheSameSizeFreesTheMipmappedCopy) {
  // Larger than atlas pages take: a texture of its own from the start.
  MakeSprite(43, 300, 200, std::vector<uint32_t>(300 * 200, 0x00FF00));
  const uint32_t texture = Device().sprites[43].texture, mip = Device().sprites[43].mipTexture;
  ASSERT_TRUE(glIsTexture(mip));
  ASSERT_TRUE(Device().GrabSprite(43, 0, 0, 300, 130));  // a 512 x 256 texture again
  EXPECT_EQ(Device().sprites[43].texture, texture);
  EXPECT_EQ(Device().sprites[43].mipTexture, 0u);
  EXPECT_FALSE(glIsTexture(mip));
  Device().FreeSprite(43);
  EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(Grabs, CreateSurfaceRefusesSizesAndKeepsTheSprite) {
  const int32_t largest = MaxTextureSide();
  const struct {
    int32_t surface, w, h;
  } refused[] = {{0, 0, 5},        {0, 5, 0},           {0, -4, 5},      {0, INT_MIN, INT_MIN},
                 {0, largest + 1, 5}, {0, 5, largest + 1}, {0, INT_MAX, 5}, {32, 5, 5},
                 {-1, 5, 5}};
  MakeSprite(45, 2, 1, {0x0000FF, 0x00FF00});
  for (const auto& r : refused) {
    SCOPED_TRACE(testing::Message() << r.surface << ": " << r.w << "x" << r.h);
    Device().CreateSurface(r.surface, 45, r.w, r.h);
    EXPECT_EQ(VisiblePixels(Device(), 45), (std::vector<uint32_t>{0xFF0000FFu, 0xFF00FF00u}));
  }
  Device().CreateSurface(2, -1, 5, 5);
  Device().CreateSurface(2, kSpriteCount, 5, 5);
  EXPECT_EQ(Device().UseSurface(2), -1);
  // The largest side the driver allows is taken, and starts clear.
  Device().CreateSurface(2, 45, largest, 1);
  EXPECT_EQ(Device().sprites[45].width, largest);
  EXPECT_EQ(Device().sprites[45].texWidth, largest);
  const std::vector<uint32_t> p = VisiblePixels(Device(), 45);
  EXPECT_EQ(std::count(p.begin(), p.end(), 0u), ptrdiff_t(largest));
  Device().FreeSprite(45);
}

// Room for what the process holds now and 256 MB more: less than a texture of the
// largest size needs.
void LimitMemory() {
  std::ifstream status("/proc/self/status");
  uint64_t kilobytes = 0;
  for (std::string word; status >> word;) {
    if (word == "VmSize:" && status >> kilobytes) break;
  }
  test_host::LimitAddressSpace(int64_t(kilobytes * 1024 + (uint64_t(256) << 20)));
  Settings().debugFlag = 1;  // the stop prints its code
}

TEST_F(Grabs, SizesTheMemoryCannotHoldStopWithErrorSeven) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "an address space limit cannot be set under the address sanitizer";
#endif
  if (!test_host::CanLimitResources()) GTEST_SKIP() << "this host keeps no memory limit";
  const int32_t largest = MaxTextureSide();
  if (largest < 16384) GTEST_SKIP() << "the driver's largest texture fits the memory";
  // The child runs this test alone in a fresh process, with its own display connection.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto surface = [largest] {
    LimitMemory();
    Device().CreateSurface(0, 46, largest, largest);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(surface(), testing::ExitedWithCode(0), "error 7 out of memory\n$");
  auto grab = [largest] {
    LimitMemory();
    Device().GrabSprite(46, 0, 0, largest, largest);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(grab(), testing::ExitedWithCode(0), "error 7 out of memory\n$");
  // Each of the two stops on its own: the memory refusing a picture, the driver a texture.
  auto picture = [largest] {
    LimitMemory();
    RgbaImage image;
    image.Resize(largest, largest);
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(picture(), testing::ExitedWithCode(0), "error 7 out of memory\n$");
  auto texture = [largest] {
    LimitMemory();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, largest, largest, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    StopIfGlOutOfMemory();
    std::fprintf(stderr, "not reached\n");
  };
  EXPECT_EXIT(texture(), testing::ExitedWithCode(0), "error 7 out of memory\n$");
}

class BackgroundFiles : public LargeScreen {
 protected:
  void TearDown() override {
    Device().ClearTiledImage(0);
    LargeScreen::TearDown();
  }
  std::string Path(const std::string& file) const { return folder_.Path(file); }
  TempFolder folder_{"background"};
};

TEST_F(BackgroundFiles, ABackgroundIsCutIntoTilesOf512) {
  // 640 x 480: two tiles, the right one 128 pixels of image.
  RgbaImage image;
  image.Resize(640, 480);
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      uint8_t* p = image.Row(y) + x * 4;
      p[0] = uint8_t(x / 3);
      p[1] = uint8_t(y / 2);
      p[2] = 77;
      p[3] = 255;
    }
  }
  ASSERT_TRUE(SaveImageFile(Path("back.png"), image));
  Device().LoadBackground(RtString(Path("back.png").c_str()));
  EXPECT_EQ(LastError(), 0);
  const TiledImage& background = Device().tiledImages[0];
  EXPECT_EQ(background.tilesX, 2);
  EXPECT_EQ(background.tilesY, 1);
  EXPECT_EQ(background.tiles[1][0].texWidth, 512);
  ClearScreen(0);
  Device().DrawTiledImage(0);
  for (const auto& [x, y] : {std::pair{0, 0}, {511, 479}, {512, 0}, {639, 300}}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(At(x, y), uint32_t(x / 3 | (y / 2) << 8 | 77 << 16));
  }
  Device().LoadBackground(RtString(Path("missing.png").c_str()));
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(background.tilesX, 0);
  EXPECT_EQ(At(100, 100), 0u);
  // Clearing the background leaves the colour, also after the next frame starts.
  Device().LoadBackground(RtString(Path("back.png").c_str()));
  ASSERT_EQ(background.tilesX, 2);
  ClearBackground(0x112233);
  EXPECT_EQ(background.tilesX, 0);
  EXPECT_EQ(At(0, 0), 0x112233u);
  EXPECT_EQ(At(639, 479), 0x112233u);
  Device().StartFrame();
  EXPECT_EQ(At(300, 200), 0x112233u);
}

}  // namespace
}  // namespace qrv::test
