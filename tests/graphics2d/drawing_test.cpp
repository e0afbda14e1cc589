// Drawing on a real window under the virtual display, read back pixel by pixel:
// primitives, sprites plain, stretched, scaled, rotated and by frame, alpha modes and
// polygons.
#include <set>

#include "device_fixture.h"

namespace qrv::test {
namespace {

using Pixels = std::vector<std::pair<int32_t, int32_t>>;

Pixels Rect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {  // inclusive corners
  Pixels out;
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) out.emplace_back(x, y);
  }
  return out;
}

struct PrimitiveCase {
  const char* name;
  void (*draw)();
  Pixels lit;
  friend void PrintTo(const PrimitiveCase& c, std::ostream* os) { *os << c.name; }
};

const PrimitiveCase kPrimitiveCases[] = {
    {"fill_rect_negative_width", [] { FillRect(10, 10, -3, 2, 0x00FF00); }, Rect(8, 10, 10, 11)},
    {"fill_rect_negative_both", [] { FillRect(20, 20, -2, -3, 0x00FF00); }, Rect(19, 18, 20, 20)},
    {"fill_rect_plain", [] { FillRect(3, 4, 5, 2, 0x00FF00); }, Rect(3, 4, 7, 5)},
    {"fill_rect_empty", [] { FillRect(3, 4, 0, 5, 0x00FF00); }, {}},
    {"line_one_pixel", [] { DrawLine(30, 12, 30, 12, 0x00FF00); }, {{30, 12}}},
    {"line_horizontal", [] { DrawLine(2, 5, 6, 5, 0x00FF00); }, Rect(2, 5, 6, 5)},
    {"line_vertical_upwards", [] { DrawLine(9, 20, 9, 16, 0x00FF00); }, Rect(9, 16, 9, 20)},
    {"plot_pixel", [] { PlotPixel(40, 33, 0x00FF00); }, {{40, 33}}},
};

class Primitives : public DeviceTest, public ::testing::WithParamInterface<PrimitiveCase> {};

TEST_P(Primitives, LightExactlyTheirPixels) {
  GetParam().draw();
  const Pixels lit = LitPixels();
  EXPECT_EQ(std::set(lit.begin(), lit.end()),
            std::set(GetParam().lit.begin(), GetParam().lit.end()));
  if (!lit.empty()) {
    EXPECT_EQ(Pixel(lit[0].first, lit[0].second), 0x00FF00u);
  }
}

INSTANTIATE_TEST_SUITE_P(Drawing, Primitives, ::testing::ValuesIn(kPrimitiveCases),
                         [](const auto& info) { return std::string(info.param.name); });

using Drawing = DeviceTest;

TEST_F(Drawing, TransparentColourPrimitivesWriteOnlyWithoutBlending) {
  ClearScreen(0x202020);
  SetAlphaMode(0);
  FillRect(0, 0, 4, 4, kDefaultTransparentColour);
  EXPECT_EQ(Pixel(1, 1), uint32_t(kDefaultTransparentColour));
  SetAlphaMode(-1);
  FillRect(10, 0, 4, 4, kDefaultTransparentColour);
  EXPECT_EQ(Pixel(11, 1), 0x202020u);
  // Any other colour is drawn with the global alpha.
  FillRect(20, 0, 4, 4, 0x0000FF);
  EXPECT_EQ(Pixel(21, 1), 0x0000FFu);
}

// The default 2D state that every frame starts from is unblended, however the frame before
// ended, also when nothing else has touched GL in between.
TEST_F(Drawing, TheDefaultStateDrawsUnblendedAfterABlendedFrame) {
  MakeSprite(1, 2, 2, std::vector<uint32_t>(4, 0x800000FFu));  // red at half alpha
  for (double mode : {-1.0, 0.5}) {
    SCOPED_TRACE(mode);
    ClearScreen(0x00FF00);
    Device().SetDefault2DState(0, 0, 0, 0);  // a frame starts
    SetAlphaMode(mode);
    DrawSprite(1, 0, 0);
    Device().SetDefault2DState(0, 0, 0, 0);  // the next one starts
    DrawSprite(1, 4, 0);
    EXPECT_NE(Pixel(0, 0), 0x0000FFu);  // blended with the green
    EXPECT_EQ(Pixel(4, 0), 0x0000FFu);  // drawn as it is
  }
}

TEST_F(Drawing, SpritePlainIsPixelExact) {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < 15; ++i) colours.push_back(0x010203 * (i + 1) + 0x400000);
  MakeSprite(1, 5, 3, colours);
  for (int32_t smoothing : {0, 1}) {
    SCOPED_TRACE(smoothing);
    ClearScreen(0);
    SetSmoothing(smoothing);
    DrawSprite(1, 7, 4);
    EXPECT_EQ(LitPixels(), Rect(7, 4, 11, 6));
    for (int32_t i = 0; i < 15; ++i) EXPECT_EQ(Pixel(7 + i % 5, 4 + i / 5), colours[size_t(i)]);
  }
}

// A 2 x 2 sprite: red, green / blue, white.
void MakeQuadrants(int32_t id) {
  std::vector<int32_t> pixels = {int32_t(0xFF0000FF), int32_t(0xFF00FF00), int32_t(0xFFFF0000),
                                 int32_t(0xFFFFFFFF)};
  ASSERT_TRUE(TheRuntime().device->SpriteFromPixels(pixels, id, 2, 2));
}

TEST_F(Drawing, StretchedAndScaledFillTheirRectangles) {
  MakeQuadrants(2);
  SetSmoothing(0);
  DrawSpriteStretched(2, 4, 4, 8, 6);
  EXPECT_EQ(LitPixels(), Rect(4, 4, 11, 9));
  EXPECT_EQ(Pixel(4, 4), 0x0000FFu);
  EXPECT_EQ(Pixel(11, 6), 0x00FF00u);
  EXPECT_EQ(Pixel(4, 7), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 9), 0xFFFFFFu);
  ClearScreen(0);
  // Scaled by 3 about the centre: (20, 20) - (6 - 2) / 2 = (18, 18), 6 x 6.
  DrawSpriteScaled(2, 20, 20, 3.0, 3.0);
  EXPECT_EQ(LitPixels(), Rect(18, 18, 23, 23));
  EXPECT_EQ(Pixel(18, 18), 0x0000FFu);
  EXPECT_EQ(Pixel(23, 23), 0xFFFFFFu);
}

TEST_F(Drawing, RotationTurnsAboutTheCentreCounterClockwise) {
  // 8 x 4: left half blue, right half red.
  std::vector<uint32_t> colours;
  for (int32_t i = 0; i < 32; ++i) colours.push_back(i % 8 < 4 ? 0xFF0000 : 0x0000FF);
  MakeSprite(3, 8, 4, colours);
  SetSmoothing(0);
  DrawSpriteRotated(3, 20, 20, 0);
  EXPECT_EQ(LitPixels(), Rect(20, 20, 27, 23));
  ClearScreen(0);
  // The centre (24, 22) stays; the sprite now stands 4 wide and 8 tall, right side up top.
  DrawSpriteRotated(3, 20, 20, 90);
  EXPECT_EQ(LitPixels(), Rect(22, 18, 25, 25));
  EXPECT_EQ(Pixel(23, 19), 0x0000FFu);
  EXPECT_EQ(Pixel(23, 24), 0xFF0000u);
  ClearScreen(0);
  DrawSpriteRotated(3, 20, 20, 0, 2.0f);
  EXPECT_EQ(LitPixels(), Rect(16, 18, 31, 25));
}

// 64 x 32 with 16 x 16 frames; frame f is filled with colour 0x10 * (f + 1).
void MakeFrameSheet(int32_t id) {
  std::vector<int32_t> pixels(64 * 32);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      pixels[size_t(y * 64 + x)] = int32_t(0xFF000000u | uint32_t(0x10 * ((y / 16) * 4 + x / 16 + 1)));
    }
  }
  ASSERT_TRUE(TheRuntime().device->SpriteFromPixels(pixels, id, 64, 32));
  SetFrameSize(id, 16, 16);
}

TEST_F(Drawing, FramesAreNumberedLeftToRightTopToBottom) {
  MakeFrameSheet(4);
  SetSmoothing(0);
  for (int32_t frame = 0; frame < 8; ++frame) {
    SCOPED_TRACE(frame);
    ClearScreen(0);
    DrawFrame(4, frame, 30, 10);
    EXPECT_EQ(LitPixels(), Rect(30, 10, 45, 25));
    EXPECT_EQ(Pixel(30, 10), uint32_t(0x10 * (frame + 1)));
    EXPECT_EQ(Pixel(45, 25), uint32_t(0x10 * (frame + 1)));
  }
  ClearScreen(0);
  DrawFrameStretched(4, 5, 0, 0, 32, 8);  // frame 5: row 1, column 1
  EXPECT_EQ(Pixel(0, 0), 0x60u);
  EXPECT_EQ(Pixel(31, 7), 0x60u);
  ClearScreen(0);
  DrawFrameRotated(4, 5, 40, 20, 0, 1);
  EXPECT_EQ(Pixel(48, 28), 0x60u);
  // Without a frame size nothing is drawn.
  MakeQuadrants(5);
  ClearScreen(0);
  DrawFrame(5, 0, 0, 0);
  EXPECT_TRUE(LitPixels().empty());
}

TEST_F(Drawing, AlphaModes) {
  std::vector<int32_t> pixels = {int32_t(0xFF000064), int32_t(0x0A0000FF), int32_t(0x140000FF)};
  ASSERT_TRUE(Device().SpriteFromPixels(pixels, 6, 3, 1));
  SetSmoothing(0);
  const struct {
    double mode;
    uint32_t first, second, third;
  } cases[] = {
      {0.5, 0x323264, 0x323232 + 5, 0x32323C},  // additive with alpha 0.5
      {-2, 0x000064, 0x3A, 0x42},  // normal blending, alpha 1
      {0, 0x000064, 0x323232, 0x0000FF},  // opaque; alpha 10 of 255 is discarded
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ClearScreen(0x323232);
    SetAlphaMode(c.mode);
    DrawSprite(6, 0, 0);
    EXPECT_NEAR(double(Pixel(0, 0) & 0xFF), double(c.first & 0xFF), 1);
    EXPECT_EQ(Pixel(0, 0) >> 8, c.first >> 8);
    EXPECT_NEAR(double(Pixel(1, 0) & 0xFF), double(c.second & 0xFF), 1);
    EXPECT_NEAR(double(Pixel(2, 0) & 0xFF), double(c.third & 0xFF), 1);
  }
  SetAlphaMode(0);
}

// An opaque sprite drawn as it is needs no alpha test; a polygon on the same texture still
// has it: corners in the transparent colour (alpha 0) draw nothing.
TEST_F(Drawing, OnlyOpaqueSpritesDrawnAsTheyAreGoWithoutTheAlphaTest) {
  MakeSprite(8, 16, 16, std::vector<uint32_t>(256, 0x3060C0));  // fills its texture, opaque
  ClearScreen(0x101010);
  DrawSprite(8, 0, 0);
  BeginPolygon(8, 0);
  for (auto [x, y] : {std::pair{20, 0}, {36, 0}, {36, 16}, {20, 16}}) {
    AddPolygonVertex(float(x), float(y), 0, 0, kDefaultTransparentColour);
  }
  EndPolygon();
  EXPECT_EQ(Pixel(4, 4), 0x3060C0u);
  EXPECT_EQ(Pixel(28, 8), 0x101010u);
}

TEST_F(Drawing, PolygonsFanTrianglesAndBrokenStrips) {
  BeginPolygon(-1, 0);
  for (auto [x, y] : {std::pair{10, 10}, {20, 10}, {20, 20}, {10, 20}}) {
    AddPolygonVertex(float(x), float(y), 0, 0, 0x00FF00);
  }
  EndPolygon();
  EXPECT_EQ(Pixel(15, 15), 0x00FF00u);
  EXPECT_EQ(Pixel(25, 15), 0u);
  // A break between vertex 3 and 4 doubles the third and the fourth.
  BeginPolygon(-1, 2);
  AddPolygonVertex(40, 10, 0, 0, 0xFF0000);
  AddPolygonVertex(50, 10, 0, 0, 0xFF0000);
  AddPolygonVertex(40, 20, 0, 0, 0xFF0000);
  BreakPolygonStrip();
  BreakPolygonStrip();  // a second break before a vertex changes nothing
  AddPolygonVertex(60, 30, 0, 0, 0xFF0000);
  EXPECT_EQ(Device().PolygonVertexCount(), 6);
  ClearScreen(0);
  EndPolygon();
  EXPECT_EQ(Pixel(42, 12), 0xFF0000u);
  EXPECT_EQ(Pixel(58, 26), 0u);  // joined by zero-area triangles only
  // A textured fan takes texture positions in image pixels.
  MakeQuadrants(7);
  SetSmoothing(0);
  ClearScreen(0);
  BeginPolygon(7, 0);
  AddPolygonVertex(0, 0, 1, 0, 0xFFFFFF);
  AddPolygonVertex(8, 0, 2, 0, 0xFFFFFF);
  AddPolygonVertex(8, 8, 2, 1, 0xFFFFFF);
  AddPolygonVertex(0, 8, 1, 1, 0xFFFFFF);
  EndPolygon();
  EXPECT_EQ(Pixel(4, 4), 0x00FF00u);  // the top-right texel: green
}

}  // namespace
}  // namespace qrv::test
