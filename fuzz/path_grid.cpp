// Fuzzes the text cost-grid reader of `qrv path`, then searches small grids that it
// accepts from corner to corner, so that any grid a file can hold meets the planner too.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pathfinding/cost_grid_text.h"
#include "quorvia/pathfinding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qrv::CostGrid grid;
  std::string error;
  if (!qrv::ParseCostGrid(text, grid, error)) {
    if (error.empty() || !grid.costs.empty()) std::abort();
    return 0;
  }
  if (int64_t{grid.width} * grid.height != static_cast<int64_t>(grid.costs.size())) std::abort();
  if (grid.costs.size() > 4096) return 0;
  qrv::RtArray<double> costs;
  costs.DimExact(grid.width, grid.height);
  std::copy(grid.costs.begin(), grid.costs.end(), costs.Data());
  qrv::RtArray<int32_t> path;
  double weight = static_cast<double>(size % 11) / 10;
  int32_t rows = qrv::FindPath(costs, path, weight, 0, 0, grid.width - 1, grid.height - 1);
  if (rows < 0 || rows > grid.width * grid.height) std::abort();
  return 0;
}
