// The pixels of a filled or outlined ellipse as horizontal runs, cut to a drawing area.
// Pure arithmetic, no GL: DrawEllipse (drawing.cpp) turns the runs into 1-pixel-high quads.
#pragma once

#include <cstdint>
#include <vector>

namespace qrv {

// Pixels x0..x1 (both included) of row y.
struct PixelSpan {
  int32_t x0, x1, y;
};

// Replaces spans with the pixels of the ellipse centred on pixel (x, y) with radii rx, ry
// that lie in the area [0, width) x [0, height), top row first, left run before right,
// no pixel twice. The filled shape holds pixel (x + dx, y + dy) exactly when
// 4dx^2(2ry + 1)^2 + 4dy^2(2rx + 1)^2 <= (2rx + 1)^2(2ry + 1)^2, i.e. its centre lies in the
// ellipse with semi-axes rx + 1/2 and ry + 1/2; the outline holds the pixels of that shape
// with a side on a pixel outside it. A negative radius gives nothing. The work grows with
// the rows of the area the shape reaches, whatever the radii: at most two runs a row.
void EllipseSpans(int32_t x, int32_t y, int32_t rx, int32_t ry, bool filled, int32_t width,
                  int32_t height, std::vector<PixelSpan>& spans);

}  // namespace qrv
