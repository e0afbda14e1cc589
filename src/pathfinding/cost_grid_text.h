// Cost grids as text: one grid row per line, cells as decimal numbers separated by blanks
// (0 or less blocks a cell). The level designers' format read by `qrv path`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qrv {

struct CostGrid {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<double> costs;  // cell (x, y) is costs[x + y * width]
};

// The most cells a text grid may have; a larger one is refused, not allocated.
inline constexpr int64_t kMaxTextGridCells = int64_t{1} << 24;

// Reads a grid. Blank lines are skipped; every other line must have the same number of
// cells. False with a message naming the line when the text is not a grid.
bool ParseCostGrid(std::string_view text, CostGrid& grid, std::string& error);

}  // namespace qrv
