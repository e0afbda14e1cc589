// Ellipse rows in exact integer arithmetic: the products of radii up to 2^31 need 128 bits,
// and each row's half-width is found by a search over the radius, so no row costs more than
// 32 steps and no row outside the area is visited.
#include "graphics2d/ellipse_spans.h"

#include <algorithm>

namespace qrv {
namespace {

using Wide = unsigned __int128;

// The full axes a = 2rx + 1 and b = 2ry + 1, in half pixels, and the radii.
struct Axes {
  uint64_t a, b;
  int64_t rx, ry;
};

// The half-width of the filled shape's row k pixels from the centre row: the largest dx
// with (2dx b)^2 <= a^2(b^2 - 4k^2); -1 beyond the last row. Every product stays below 2^128:
// a, b < 2^32 and 2dx < a. Both sides are never equal (a^2 b^2 is odd, the rest even): no
// pixel centre lies on the ellipse, so the rule has no ties to break.
int64_t HalfWidth(const Axes& e, int64_t k) {
  if (k > e.ry) return -1;
  const uint64_t twoK = 2 * uint64_t(k);
  const Wide limit = Wide(e.a) * e.a * (Wide(e.b) * e.b - Wide(twoK) * twoK);
  // dx = 0 always fits: b^2 - 4k^2 > 0 while k <= ry.
  int64_t low = 0, high = e.rx;
  while (low < high) {
    const int64_t mid = low + (high - low + 1) / 2;
    const Wide reach = Wide(2 * uint64_t(mid)) * e.b;
    if (reach * reach <= limit) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low;
}

}  // namespace

void EllipseSpans(int32_t x, int32_t y, int32_t rx, int32_t ry, bool filled, int32_t width,
                  int32_t height, std::vector<PixelSpan>& spans) {
  spans.clear();
  if (rx < 0 || ry < 0 || width <= 0 || height <= 0) return;
  const Axes e{2 * uint64_t(rx) + 1, 2 * uint64_t(ry) + 1, rx, ry};
  const int64_t top = std::max<int64_t>(int64_t(y) - ry, 0);
  const int64_t bottom = std::min<int64_t>(int64_t(y) + ry, int64_t(height) - 1);
  auto add = [&](int64_t x0, int64_t x1, int64_t row) {
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, int64_t(width) - 1);
    if (x0 <= x1) spans.push_back({int32_t(x0), int32_t(x1), int32_t(row)});
  };
  for (int64_t row = top; row <= bottom; ++row) {
    const int64_t k = row > y ? row - y : y - row;
    const int64_t half = HalfWidth(e, k);
    // The outline keeps a row's two end pixels and every pixel past the next row outwards,
    // which is never wider; the rows inwards are never narrower, so no other pixel has a
    // side outside. With nothing between the two runs they are one.
    const int64_t inner = filled ? 0 : std::min(HalfWidth(e, k + 1) + 1, half);
    if (inner == 0) {
      add(int64_t(x) - half, int64_t(x) + half, row);
    } else {
      add(int64_t(x) - half, int64_t(x) - inner, row);
      add(int64_t(x) + inner, int64_t(x) + half, row);
    }
  }
}

}  // namespace qrv
