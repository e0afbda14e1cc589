// Where a movie goes in the window: scaled by the smaller of the two ratios so it keeps its
// proportions, truncated to whole pixels, centred in the client area.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qrv {

struct MovieRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

inline MovieRect FitMovie(int32_t clientWidth, int32_t clientHeight, int32_t sourceWidth,
                          int32_t sourceHeight) {
  if (clientWidth <= 0 || clientHeight <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return {};
  const double scale = std::min(static_cast<double>(clientWidth) / sourceWidth,
                                static_cast<double>(clientHeight) / sourceHeight);
  MovieRect rect;
  rect.width = static_cast<int32_t>(sourceWidth * scale);
  rect.height = static_cast<int32_t>(sourceHeight * scale);
  rect.x = (clientWidth - rect.width) / 2;
  rect.y = (clientHeight - rect.height) / 2;
  return rect;
}

}  // namespace qrv
