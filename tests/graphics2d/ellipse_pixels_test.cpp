// Circles and ellipses on a real window, read back and compared pixel for pixel with the
// rule evaluated here on its own, pixel by pixel: a pixel is in the filled shape when its
// centre lies in the ellipse with semi-axes radius + 1/2 about the centre pixel's centre;
// the outline is the filled shape's pixels with a side on a pixel outside it.
#include <climits>
#include <set>
#include <string>

#include "device_fixture.h"

namespace qrv::test {
namespace {

using PixelSet = std::set<std::pair<int32_t, int32_t>>;

struct Shape {
  int32_t x, y, rx, ry;
};

// (2dx)^2 b^2 + (2dy)^2 a^2 <= a^2 b^2 with a = 2rx + 1, b = 2ry + 1: the inequality
// (dx / (rx + 1/2))^2 + (dy / (ry + 1/2))^2 <= 1 times a^2 b^2 / 4, in 128 bits. Past
// |dx| > rx the first term alone exceeds the bound, so no product below overflows.
bool Inside(const Shape& s, int64_t px, int64_t py) {
  using Wide = unsigned __int128;
  if (s.rx < 0 || s.ry < 0) return false;
  const int64_t dx = px - s.x, dy = py - s.y;
  if (dx > s.rx || -dx > s.rx || dy > s.ry || -dy > s.ry) return false;
  const Wide a = 2 * Wide(s.rx) + 1, b = 2 * Wide(s.ry) + 1;
  const Wide twoDx = Wide(2 * (dx < 0 ? -dx : dx)), twoDy = Wide(2 * (dy < 0 ? -dy : dy));
  const Wide bound = a * a * b * b, across = twoDx * twoDx * b * b, down = twoDy * twoDy * a * a;
  return across <= bound && down <= bound - across;
}

bool OnOutline(const Shape& s, int64_t px, int64_t py) {
  return Inside(s, px, py) && (!Inside(s, px - 1, py) || !Inside(s, px + 1, py) ||
                               !Inside(s, px, py - 1) || !Inside(s, px, py + 1));
}

// The reference pixels within [0, w) x [0, h).
PixelSet Expected(const Shape& s, bool filled, int32_t w, int32_t h) {
  PixelSet out;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      if (filled ? Inside(s, x, y) : OnOutline(s, x, y)) out.emplace(x, y);
    }
  }
  return out;
}

// Equal radii go through DrawCircle.
void Draw(const Shape& s, int32_t colour, bool filled) {
  if (s.rx == s.ry) {
    DrawCircle(s.x, s.y, s.rx, colour, filled ? 1 : 0);
  } else {
    DrawEllipse(s.x, s.y, s.rx, s.ry, colour, filled ? 1 : 0);
  }
}

struct ShapeCase {
  const char* name;
  Shape shape;
  friend void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }
};

constexpr int32_t kHuge = 1 << 30;

const ShapeCase kShapeCases[] = {
    {"radius_0", {20, 20, 0, 0}},
    {"radius_1", {10, 10, 1, 1}},
    {"radius_2", {30, 10, 2, 2}},
    {"radius_7", {50, 20, 7, 7}},
    {"radius_8", {70, 40, 8, 8}},
    {"radius_13", {30, 40, 13, 13}},
    {"radius_50_past_every_edge", {48, 32, 50, 50}},
    {"wide", {48, 50, 40, 5}},
    {"tall", {10, 32, 3, 30}},
    {"width_0", {60, 20, 0, 6}},
    {"height_0", {60, 5, 9, 0}},
    {"top_left_corner", {0, 0, 12, 12}},
    {"bottom_right_corner", {95, 63, 10, 6}},
    {"centre_off_the_left", {-5, 30, 9, 9}},
    {"centre_off_the_top", {48, -3, 20, 6}},
    {"centre_off_the_bottom_right", {100, 70, 20, 15}},
    {"huge_covering_the_screen", {48, 32, kHuge, kHuge}},
    {"huge_edge_across_the_screen", {40 - kHuge, 32, kHuge, kHuge}},
    {"huge_edge_low_on_the_screen", {48, 60 - kHuge, kHuge, kHuge}},
    {"largest_width_band", {48, 32, INT_MAX, 10}},
    {"largest_reaching_the_left_edge", {-INT_MAX, 20, INT_MAX, INT_MAX}},
    {"largest_from_the_far_corners", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
    {"largest_from_the_near_far_corner", {INT_MAX, INT_MAX, INT_MAX, INT_MAX}},
    {"negative_radius", {20, 20, -3, -3}},
    {"negative_height", {20, 20, 5, -1}},
    {"negative_width_largest_height", {20, 20, INT_MIN, INT_MAX}},
};

class Ellipses : public DeviceTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(Ellipses, LightExactlyTheReferencePixels) {
  for (bool filled : {true, false}) {
    SCOPED_TRACE(filled ? "filled" : "outline");
    ClearScreen(0);
    Draw(GetParam().shape, 0x00FF00, filled);
    const std::vector<std::pair<int32_t, int32_t>> lit = LitPixels();
    EXPECT_EQ(PixelSet(lit.begin(), lit.end()),
              Expected(GetParam().shape, filled, kScreenW, kScreenH));
    for (auto [x, y] : lit) ASSERT_EQ(Pixel(x, y), 0x00FF00u) << x << ", " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Drawing, Ellipses, ::testing::ValuesIn(kShapeCases),
                         [](const auto& info) { return std::string(info.param.name); });

using EllipseDrawing = DeviceTest;

// Colour, transparent colour and alpha mode work as they do for a rectangle, and blending
// reaches every pixel once: each pixel of the shape ends as the rectangle's pixel did.
TEST_F(EllipseDrawing, BlendsEachPixelOnceAsARectangleDoes) {
  const struct {
    double mode;
    int32_t colour;
  } cases[] = {{-0.5, 0x2080F0}, {0.5, 0x2080F0}, {0, 0x2080F0}, {-1, kDefaultTransparentColour}};
  const Shape circle{30, 30, 20, 20}, ellipse{75, 30, 15, 25};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    ClearScreen(0x404040);
    SetAlphaMode(c.mode);
    FillRect(0, 0, 2, 2, c.colour);
    Draw(circle, c.colour, true);
    Draw(ellipse, c.colour, false);
    SetAlphaMode(0);
    const uint32_t drawn = Pixel(0, 0);
    const PixelSet inCircle = Expected(circle, true, kScreenW, kScreenH);
    const PixelSet onEllipse = Expected(ellipse, false, kScreenW, kScreenH);
    const std::vector<uint32_t> screen = ScreenColours();
    int32_t wrong = 0;
    for (int32_t y = 2; y < kScreenH; ++y) {
      for (int32_t x = 0; x < kScreenW; ++x) {
        const bool shape = inCircle.count({x, y}) != 0 || onEllipse.count({x, y}) != 0;
        wrong += screen[size_t(y * kScreenW + x)] != (shape ? drawn : 0x404040u);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

// In a surface the shape is cut at the surface's edges, not the window's: the surface is
// larger than the window and the circle sits beyond the window's size.
TEST_F(EllipseDrawing, DrawsIntoASurfaceLargerThanTheWindow) {
  constexpr int32_t kId = 40, kW = 128, kH = 80;
  Device().CreateSurface(0, kId, kW, kH);
  ASSERT_EQ(UseSurface(0), kId);
  const Shape shape{110, 70, 24, 14};
  DrawEllipse(shape.x, shape.y, shape.rx, shape.ry, 0x00FF00, 1);
  UseSurface(-1);
  std::vector<int32_t> pixels;
  ASSERT_TRUE(Device().SpriteToPixels(pixels, kId));
  ASSERT_EQ(pixels.size(), size_t(kW * kH));
  PixelSet drawn;
  for (int32_t i = 0; i < kW * kH; ++i) {
    if (uint32_t(pixels[size_t(i)]) >> 24 != 0) drawn.emplace(i % kW, i / kW);
  }
  EXPECT_EQ(drawn, Expected(shape, true, kW, kH));
  FreeSprite(kId);
}

}  // namespace
}  // namespace qrv::test
