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

// The 2D drawing leaves the depth buffer alone, so a frame of it needs no depth clear; but
// once code of one's own has written depth (after FlushBatch, as it must), the next frame
// finds the depth buffer cleared, and the frame after that again.
TEST_F(Drawing, DepthWrittenByCodeOfOnesOwnIsClearedForTheNextFrame) {
  auto depthAt = [](int32_t x, int32_t y) {
    GLfloat depth = -1;
    glReadPixels(x, kScreenH - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
  };
  for (int frame = 0; frame < 2; ++frame) {
    SCOPED_TRACE(frame);
    Device().FlushBatch();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glBegin(GL_QUADS);  // the 2D projection: z 0 is half way into the depth range
    glVertex2f(0, 0);
    glVertex2f(8, 0);
    glVertex2f(8, 8);
    glVertex2f(0, 8);
    glEnd();
    glDisable(GL_DEPTH_TEST);
    EXPECT_NEAR(depthAt(4, 4), 0.5f, 0.01f);
    Device().ClearAfterSwap();
    Device().SetDefault2DState(0, 0, 0, 0);
    FillRect(0, 0, 8, 8, 0x00FF00);
    EXPECT_EQ(depthAt(4, 4), 1.0f);
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

// Sprites wholly outside the drawing area are left out before GL sees them: those that
// reach in by one pixel column or row still draw it, in the full screen and in a smaller
// view, plain, stretched (mirrored too) and by frame.
TEST_F(Drawing, SpritesReachingIntoTheDrawingAreaByOnePixelStillDrawIt) {
  std::vector<uint32_t> colours;  // texel (x, y): red x, green y, blue 0x80
  for (uint32_t y = 0; y < 16; ++y) {
    for (uint32_t x = 0; x < 16; ++x) colours.push_back(0x800000 | (y * 16 + 8) << 8 | (x * 16 + 8));
  }
  MakeSprite(1, 16, 16, colours);
  Device().SetFrameSize(1, 8, 8);
  auto texel = [&](int32_t x, int32_t y) { return colours[size_t(y * 16 + x)]; };
  auto set = [](std::initializer_list<Pixels> parts) {
    std::set<std::pair<int32_t, int32_t>> out;
    for (const Pixels& part : parts) out.insert(part.begin(), part.end());
    return out;
  };
  SetSmoothing(0);
  DrawSprite(1, -15, -15);                    // texel (15, 15) at (0, 0)
  DrawSprite(1, kScreenW - 1, kScreenH - 1);  // texel (0, 0) at the last pixel
  DrawSprite(1, -16, 20);                     // outside on every side: nothing
  DrawSprite(1, kScreenW, 20);
  DrawSprite(1, 40, -16);
  DrawSprite(1, 40, kScreenH);
  DrawFrame(1, 3, -7, 30);                    // frame 3 (texels 8..15, 8..15): its column 15
  DrawFrame(1, 0, -8, 40);                    // nothing
  DrawSpriteStretched(1, 60, -15, 16, 16);    // its last row at y 0
  DrawSpriteStretched(1, kScreenW + 15, 30, -16, 16);  // mirrored: its column 15 at the right
  const Pixels lit = LitPixels();
  EXPECT_EQ(std::set(lit.begin(), lit.end()),
            set({Rect(0, 0, 0, 0), Rect(60, 0, 75, 0), Rect(0, 30, 0, 37),
                 Rect(kScreenW - 1, 30, kScreenW - 1, 45),
                 Rect(kScreenW - 1, kScreenH - 1, kScreenW - 1, kScreenH - 1)}));
  EXPECT_EQ(Pixel(0, 0), texel(15, 15));
  EXPECT_EQ(Pixel(kScreenW - 1, kScreenH - 1), texel(0, 0));
  EXPECT_EQ(Pixel(0, 33), texel(15, 11));
  EXPECT_EQ(Pixel(63, 0), texel(3, 15));
  EXPECT_EQ(Pixel(kScreenW - 1, 40), texel(15, 10));

  // A 30 x 20 view at (10, 20): its own corners, not the screen's.
  ClearScreen(0);
  Device().SetDefault2DState(10, 20, 30, 20);
  DrawSprite(1, -15, -15);  // texel (15, 15) at the view's (0, 0)
  DrawSprite(1, 29, 19);    // texel (0, 0) at its last pixel
  DrawSprite(1, 30, 0);     // inside the screen, outside the view: nothing
  DrawSprite(1, 0, -16);
  EXPECT_EQ(LitPixels(), (Pixels{{10, 20}, {39, 39}}));
  EXPECT_EQ(Pixel(10, 20), texel(15, 15));
  EXPECT_EQ(Pixel(39, 39), texel(0, 0));
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
