// Off-screen surfaces, grabs and tiled images on a real GL context: drawing into a sprite
// through a frame buffer and through the copy-based way taken when QRV_GL_HIDE hides the
// frame-buffer extension, the screen in tiles, single pixels and the transparent key.
#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>

#include "device_fixture.h"
#include "graphics2d/gl_extensions.h"
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
      usleep(10000);
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
    setenv("QRV_GL_HIDE", names, 1);
    FetchGlExtensions();
  }
  ~HiddenExtensions() {
    unsetenv("QRV_GL_HIDE");
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
}

}  // namespace
}  // namespace qrv::test
