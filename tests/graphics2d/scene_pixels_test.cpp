// Whole scenes drawn with every drawing command, compared byte for byte with the pictures
// the immediate-mode drawing made (tests/graphics2d/scenes/*.png). Whatever the drawing
// code does to go faster, each command must keep exactly the pixels it drew.
// QRV_WRITE_SCENES=1 writes the pictures instead of comparing (only after checking that
// a change of pixels is meant).
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "device_fixture.h"

namespace qrv::test {
namespace {

constexpr int32_t kPlain = 1, kAlphaRamp = 2, kStripes = 3, kAnim = 4, kChecker = 5;
constexpr int32_t kGrabbed = 6, kSurfaceSprite = 7;

// Texel colours that differ strongly from their neighbours, so that any change of
// sampling shows.
uint32_t Texel(int32_t x, int32_t y, uint32_t seed) {
  uint32_t v = uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u ^ seed * 97u;
  v ^= v >> 13;
  return v * 0x9E3779B1u & 0xFFFFFF;
}

std::vector<uint32_t> Pattern(int32_t w, int32_t h, uint32_t seed, bool alphaRamp) {
  std::vector<uint32_t> out;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t a = alphaRamp ? uint32_t((x * 17 + y * 3) % 256) : 255;
      out.push_back(Texel(x, y, seed) | (a == 0 ? 1 : a) << 24);
    }
  }
  return out;
}

void AnimationScene() {
  SetSmoothing(0);
  for (int32_t frame = 0; frame < 8; ++frame) DrawFrame(kAnim, frame, 2 + frame * 11, 3);
  SetSmoothing(1);
  for (int32_t frame = 0; frame < 8; ++frame) DrawFrame(kAnim, frame, 2 + frame * 11, 14);
  DrawFrameStretched(kAnim, 5, 3, 26, 19, 13);
  DrawFrameStretched(kAnim, 2, 25, 26, 7, 5);
  DrawFrameRotated(kAnim, 6, 40, 30, 33, 1.7f);
  SetSmoothing(0);
  DrawFrameRotated(kAnim, 1, 60, 40, -70, 2.2f);
  DrawFrameStretched(kAnim, 3, 70, 24, 23, 17);
  DrawFrame(kAnim, 9, 80, 50);  // beyond the last frame
}

void PlainScene() {
  for (int32_t smoothing : {0, 1}) {
    SetSmoothing(smoothing);
    const int32_t dy = smoothing * 30;
    DrawSprite(kPlain, 1, 1 + dy);
    DrawSprite(kStripes, 8, 2 + dy);
    DrawSprite(kChecker, 22, 1 + dy);
    DrawSprite(kChecker, 30, 9 + dy);  // overlapping the previous one
    DrawSprite(kAlphaRamp, 44, 3 + dy);
    DrawSprite(kPlain, -2, 20 + dy);    // partly off the left edge
    DrawSprite(kChecker, 88, 20 + dy);  // partly off the right edge
    DrawSprite(kStripes, 60, -3 + dy);
  }
  DrawSprite(kChecker, 70, 56);  // partly off the bottom edge
  DrawSprite(9999, 5, 5);        // an empty slot
}

void ScaledScene() {
  for (int32_t smoothing : {1, 0}) {
    SetSmoothing(smoothing);
    const int32_t dy = (1 - smoothing) * 32;
    DrawSpriteStretched(kChecker, 1, 1 + dy, 23, 29);
    DrawSpriteStretched(kPlain, 26, 2 + dy, 13, 5);
    DrawSpriteScaled(kStripes, 50, 8 + dy, 1.5, 2.25);
    DrawSpriteScaled(kChecker, 70, 6 + dy, 0.6, 1.0);
    DrawSpriteScaled(kPlain, 30, 14 + dy, 3.0, 2.0);
    DrawSpriteStretched(kStripes, 92, 20 + dy, -9, -6);
  }
}

void RotatedScene() {
  SetSmoothing(1);
  DrawSpriteRotated(kChecker, 10, 10, 30, 1.0f);
  DrawSpriteRotated(kStripes, 40, 8, 90, 1.5f);
  DrawSpriteRotated(kPlain, 70, 10, -45, 3.0f);
  SetSmoothing(0);
  DrawSpriteRotated(kChecker, 10, 40, 200, 0.75f);
  DrawSpriteRotated(kAlphaRamp, 40, 38, 12.5f, 1.25f);
  DrawSprite(kChecker, 70, 40);  // plain between turned ones
  DrawSpriteRotated(kStripes, 72, 44, 0, 1.0f);
  DrawSpriteRotated(kChecker, 60, 30, 0, 1.0f);
}

void AlphaScene() {
  ClearScreen(0x406080);
  SetAlphaMode(0);  // alpha test: texels with alpha up to 0.05 disappear
  DrawSprite(kAlphaRamp, 1, 1);
  DrawSpriteStretched(kAlphaRamp, 18, 1, 20, 20);
  SetAlphaMode(-1);
  DrawSprite(kAlphaRamp, 40, 1);
  DrawSprite(kAlphaRamp, 46, 6);
  SetAlphaMode(-0.4);
  DrawSprite(kChecker, 60, 1);
  DrawSprite(kChecker, 66, 5);
  SetAlphaMode(0.5);
  DrawSprite(kChecker, 1, 30);
  DrawSprite(kChecker, 7, 34);
  DrawSpriteScaled(kAlphaRamp, 30, 32, 1.5, 1.5);
  SetAlphaMode(1);
  DrawSprite(kStripes, 50, 30);
  DrawFrame(kAnim, 3, 56, 34);
  SetAlphaMode(-0.7);
  DrawSpriteRotated(kStripes, 70, 40, 20, 1.2f);
  FillRect(75, 50, 15, 10, 0x00FFFF);
  DrawSprite(kChecker, 80, 45);
  SetAlphaMode(0);
  DrawSprite(kChecker, 2, 50);
}

void PrimitivesBetweenSpritesScene() {
  DrawSprite(kChecker, 2, 2);
  FillRect(6, 6, 20, 8, 0x0000FF);
  DrawSprite(kChecker, 10, 10);
  DrawLine(0, 0, 40, 30, 0x00FF00);
  DrawSprite(kPlain, 18, 16);
  PlotPixel(20, 17, 0xFFFFFF);
  DrawSprite(kStripes, 30, 2);
  FillRect(32, 4, -5, -3, kDefaultTransparentColour);
  DrawSprite(kStripes, 34, 6);
  SetAlphaMode(-0.5);
  FillRect(40, 0, 20, 20, 0xFF0000);
  DrawSprite(kChecker, 44, 4);
  DrawLine(44, 4, 60, 20, kDefaultTransparentColour);
  FillRect(50, 10, 8, 8, kDefaultTransparentColour);
  SetAlphaMode(0);
  for (int32_t i = 0; i < 12; ++i) {
    DrawSprite(i % 2 != 0 ? kChecker : kStripes, 2 + i * 7, 30 + i % 3);
    FillRect(4 + i * 7, 33, 3, 3, int32_t(Texel(i, 1, 5)));
    PlotPixel(6 + i * 7, 40, int32_t(Texel(i, 2, 5)));
  }
  DrawSprite(kPlain, 80, 56);
  DrawLine(95, 63, 60, 50, 0xFFFF00);
}

void PolygonScene() {
  DrawSprite(kChecker, 1, 1);
  BeginPolygon(kChecker, 0);
  AddPolygonVertex(20, 2, 0, 0, 0xFFFFFF);
  AddPolygonVertex(44, 4, 16, 0, 0xFFFFFF);
  AddPolygonVertex(40, 28, 16, 16, 0xFFFFFF);
  AddPolygonVertex(22, 24, 0, 16, 0xFFFFFF);
  EndPolygon();
  DrawSprite(kStripes, 30, 10);
  BeginPolygon(-1, 1);
  AddPolygonVertex(50, 2, 0, 0, 0xFF0000);
  AddPolygonVertex(90, 8, 0, 0, 0x00FF00);
  AddPolygonVertex(60, 30, 0, 0, 0x0000FF);
  EndPolygon();
  DrawSprite(kChecker, 60, 10);
  SetAlphaMode(-0.6);
  BeginPolygon(kStripes, 2);
  AddPolygonVertex(2, 34, 0, 0, 0xFFFFFF);
  AddPolygonVertex(2, 60, 0, 7, 0xFFFFFF);
  AddPolygonVertex(20, 34, 12, 0, 0x80FF80);
  BreakPolygonStrip();
  AddPolygonVertex(30, 34, 0, 0, 0xFFFFFF);
  AddPolygonVertex(30, 60, 0, 7, 0xFF8080);
  AddPolygonVertex(50, 40, 12, 3, 0xFFFFFF);
  EndPolygon();
  SetAlphaMode(0);
  DrawSprite(kPlain, 40, 50);
  EndPolygon();  // drawn again, now with the plain sprite's texture bound
  DrawSprite(kChecker, 70, 40);
}

void TextScene() {
  SetSmoothing(1);
  DrawSprite(kChecker, 0, 0);
  PrintText("Hello, 2D!", 2, 2);
  DrawSprite(kStripes, 20, 12);
  PrintText("AbC xyz 0123", 10.2f, 12.5f);
  SetAlphaMode(0.6);
  DrawSprite(kChecker, 30, 30);
  PrintText("~#@[]{}", 28, 32);
  SetAlphaMode(-0.5);
  PrintText(RtString("\x01\x80\xC8 end", 7), 4, 44);
  SetAlphaMode(0);
  DrawSprite(kPlain, 70, 55);
  PrintText("z", 90, 58);
}

// Drawing into a surface between screen drawing, then the surface's sprite on the screen.
void SurfaceScene() {
  DrawSprite(kChecker, 1, 1);
  CreateSurface(2, kSurfaceSprite, 40, 30);
  UseSurface(2);
  ClearScreen(0x102030);
  DrawSprite(kChecker, 2, 2);
  DrawSprite(kStripes, 20, 10);
  FillRect(5, 20, 10, 4, 0xFF00FF);
  PrintText("in", 22, 22);
  DrawSpriteScaled(kPlain, 30, 3, 2, 2);
  UseSurface(-1);
  DrawSprite(kSurfaceSprite, 20, 4);
  DrawSprite(kChecker, 24, 8);
  SetSmoothing(1);
  DrawSpriteStretched(kSurfaceSprite, 60, 30, 33, 30);
  DrawSpriteRotated(kSurfaceSprite, 10, 36, 15, 0.8f);
}

// A sprite grabbed from the screen and replaced between two draws of its id.
void GrabScene() {
  DrawSprite(kChecker, 0, 0);
  DrawSprite(kStripes, 4, 4);
  GrabSprite(kGrabbed, 0, 0, 16, 16);
  DrawSprite(kGrabbed, 30, 2);
  FillRect(2, 2, 4, 4, 0x00FF00);
  GrabSprite(kGrabbed, 0, 0, 16, 16);
  DrawSprite(kGrabbed, 50, 2);
  DrawSpriteStretched(kGrabbed, 70, 2, 20, 20);
  std::vector<int32_t> pixels;
  for (uint32_t c : Pattern(9, 9, 77, false)) pixels.push_back(int32_t(c));
  ASSERT_TRUE(TheRuntime().device->SpriteFromPixels(pixels, kGrabbed, 9, 9));
  DrawSprite(kGrabbed, 30, 30);
  DrawSprite(kChecker, 45, 30);
  DrawSprite(kGrabbed, 50, 40);
  EXPECT_NE(GetPixel(30, 30), 0);
  DrawSprite(kStripes, 60, 45);
}

// Many sprites, alternating textures and sampling every few.
void CrowdScene() {
  for (int32_t i = 0; i < 600; ++i) {
    const int32_t x = int32_t(Texel(i, 0, 1) % 100) - 8, y = int32_t(Texel(i, 1, 1) % 70) - 8;
    if (i % 97 == 0) SetSmoothing(i % 2);
    if (i % 50 < 30) {
      DrawSprite(kChecker, x, y);
    } else if (i % 50 < 40) {
      DrawSprite(i % 3 != 0 ? kPlain : kStripes, x, y);
    } else if (i % 50 < 45) {
      DrawFrame(kAnim, i % 8, x, y);
    } else {
      DrawSpriteStretched(kAlphaRamp, x, y, 10 + i % 7, 9 + i % 5);
    }
  }
}

struct Scene {
  const char* name;
  void (*draw)();
  friend void PrintTo(const Scene& s, std::ostream* os) { *os << s.name; }
};

const Scene kScenes[] = {
    {"plain", PlainScene},      {"scaled", ScaledScene},
    {"rotated", RotatedScene},  {"frames", AnimationScene},
    {"alpha", AlphaScene},      {"primitives", PrimitivesBetweenSpritesScene},
    {"polygons", PolygonScene}, {"text", TextScene},
    {"surface", SurfaceScene},  {"grab", GrabScene},
    {"crowd", CrowdScene},
};

std::string ScenePath(const char* name) {
  return std::string(QRV_SOURCE_DIR) + "/tests/graphics2d/scenes/" + name + ".png";
}

class ScenePixels : public DeviceTest, public ::testing::WithParamInterface<Scene> {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    // A size change made by an earlier test reaches the drawable only with the next swaps.
    for (int i = 0; i < 3; ++i) {
      platform::PumpEvents();
      platform::SwapBuffers(Device().window);
    }
    Device().SetDefault2DState(0, 0, 0, 0);
    ClearScreen(0);
    Device().BuildDefaultFont(0);
    MakeSprite(kPlain, 5, 3, Pattern(5, 3, 1, false));
    MakeSprite(kAlphaRamp, 16, 16, Pattern(16, 16, 2, true));
    MakeSprite(kStripes, 12, 7, Pattern(12, 7, 3, false));
    MakeSprite(kAnim, 32, 16, Pattern(32, 16, 4, false));
    Device().SetFrameSize(kAnim, 8, 8);
    MakeSprite(kChecker, 16, 16, Pattern(16, 16, 5, false));
  }
  void TearDown() override {
    for (int32_t id : {kPlain, kAlphaRamp, kStripes, kAnim, kChecker, kGrabbed, kSurfaceSprite}) {
      FreeSprite(id);
    }
  }

  // The back buffer as an image, rows from the top.
  static RgbaImage Screen() {
    Device().FlushBatch();
    return ReadFrameBuffer(GL_BACK, kScreenW, kScreenH);
  }
};

TEST_P(ScenePixels, MatchTheImmediateModePictureByteForByte) {
  GetParam().draw();
  const RgbaImage drawn = Screen();
  const std::string path = ScenePath(GetParam().name);
  if (const char* write = std::getenv("QRV_WRITE_SCENES"); write != nullptr && *write == '1') {
    std::vector<uint8_t> file;
    ASSERT_TRUE(EncodePng(drawn, file));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    GTEST_SKIP() << "written " << path;
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  RgbaImage expected;
  ASSERT_TRUE(DecodePng(expected, file, kNoColourKey)) << path;
  ASSERT_EQ(expected.width, drawn.width);
  ASSERT_EQ(expected.height, drawn.height);
  int32_t differing = 0;
  for (int32_t y = 0; y < kScreenH; ++y) {
    for (int32_t x = 0; x < kScreenW; ++x) {
      const uint8_t* want = expected.Row(y) + x * 4;
      const uint8_t* got = drawn.Row(y) + x * 4;
      if (std::equal(want, want + 4, got)) continue;
      if (++differing <= 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << "): want " << int(want[0]) << ","
                      << int(want[1]) << "," << int(want[2]) << "," << int(want[3]) << " got "
                      << int(got[0]) << "," << int(got[1]) << "," << int(got[2]) << ","
                      << int(got[3]);
      }
    }
  }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Drawing, ScenePixels, ::testing::ValuesIn(kScenes),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qrv::test
