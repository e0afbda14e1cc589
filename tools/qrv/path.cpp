// qrv path: runs FindPath on a cost grid kept as a text file, for level designers.
// Prints the number of path rows, then one "x y" line per row, start first.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "pathfinding/cost_grid_text.h"
#include "quorvia/pathfinding.h"
#include "tool_command.h"
#include "tool_files.h"

namespace {

// Text grids are capped in cells; a file far longer than such a grid is refused unread.
constexpr size_t kMaxGridFileBytes = size_t{256} << 20;

int Fail(const std::string& message) {
  std::fprintf(stderr, "qrv path: %s\n", message.c_str());
  return 1;
}

template <typename Number>
bool ParseWhole(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool ReadGridFile(const std::string& path, qrv::CostGrid& grid, std::string& error) {
  std::string text;
  if (!qrv::tool::ReadWholeFile(path, text, error, kMaxGridFileBytes)) {
    error = "cannot read " + path + ": " + error;
    return false;
  }
  if (!qrv::ParseCostGrid(text, grid, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

bool InGrid(const qrv::CostGrid& grid, int32_t x, int32_t y) {
  return x >= 0 && x < grid.width && y >= 0 && y < grid.height;
}

// Says why FindPath would refuse the request, which the command itself answers with 0.
std::string Refusal(const qrv::CostGrid& grid, const int32_t (&cell)[4]) {
  std::string size = std::to_string(grid.width) + " x " + std::to_string(grid.height);
  if (!InGrid(grid, cell[0], cell[1])) return "the start lies outside the " + size + " grid";
  if (!InGrid(grid, cell[2], cell[3])) return "the goal lies outside the " + size + " grid";
  if (cell[0] == cell[2] && cell[1] == cell[3]) return "start and goal are the same cell";
  return "no cell of the grid can be entered";
}

int Run(int argc, char** argv) {
  if (argc < 5 || argc > 6)
    return Fail("usage: qrv path GRID START_X START_Y GOAL_X GOAL_Y [WEIGHT]");
  int32_t cell[4];
  for (int i = 0; i < 4; ++i) {
    if (!ParseWhole(argv[i + 1], cell[i]))
      return Fail(std::string("not a cell index: ") + argv[i + 1]);
  }
  double weight = 0.5;
  if (argc == 6 && (!ParseWhole(argv[5], weight) || std::isnan(weight))) {
    return Fail(std::string("not a weight: ") + argv[5]);
  }
  qrv::CostGrid text;
  std::string error;
  if (!ReadGridFile(argv[0], text, error)) return Fail(error);

  qrv::RtArray<double> costs;
  costs.DimExact(text.width, text.height);
  std::copy(text.costs.begin(), text.costs.end(), costs.Data());
  qrv::RtArray<int32_t> path;
  path.DimExact(1, 2);
  path.ElementAt(0, 0) = -1;  // FindPath leaves a refused request's array alone
  int32_t rows = qrv::FindPath(costs, path, weight, cell[0], cell[1], cell[2], cell[3]);
  if (rows == 0 && path.Bounds(0) == 1) return Fail(Refusal(text, cell));
  std::printf("%d\n", rows);
  for (int32_t i = 0; i < rows; ++i)
    std::printf("%d %d\n", path.ElementAt(i, 0), path.ElementAt(i, 1));
  return 0;
}

}  // namespace

QRV_TOOL_COMMAND(path, "GRID START_X START_Y GOAL_X GOAL_Y [WEIGHT]", Run);
