// Planner: configuration (checking the request, normalising the cost grid, sizing the
// pool, open list and table) and the search bookkeeping shared by every planner.
#include "pathfinding/planner.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace qrv {
namespace {

bool InGrid(int32_t x, int32_t y, const PlannerConfig& c) {
  return x >= 0 && x < c.width && y >= 0 && y < c.height;
}

bool Acceptable(const PlannerConfig& c) {
  if (c.width <= 0 || c.height <= 0 || c.costs == nullptr) return false;
  if (int64_t{c.width} * c.height > std::numeric_limits<int32_t>::max()) return false;
  if (c.poolSize < 0 || c.openSize < 0) return false;
  if (!InGrid(c.startX, c.startY, c) || !InGrid(c.goalX, c.goalY, c)) return false;
  return c.startX != c.goalX || c.startY != c.goalY;
}

// Walkable cells get v / max + 1, so costs lie in 1..2; the rest are blocked. Infinite
// values block too: they would turn every cost into 0 or NaN. False when nothing is walkable.
bool NormaliseGrid(const double* costs, size_t cells, float* grid) {
  double largest = 0;
  for (size_t i = 0; i < cells; ++i) {
    double v = costs[i];
    if (v > 0 && v <= std::numeric_limits<double>::max()) largest = std::max(largest, v);
  }
  if (largest == 0) return false;
  for (size_t i = 0; i < cells; ++i) {
    double v = costs[i];
    bool walkable = v > 0 && v <= std::numeric_limits<double>::max();
    grid[i] = walkable ? static_cast<float>(v / largest + 1.0) : kBlockedCell;
  }
  return true;
}

// NaN counts as 0: a NaN weight would make every f NaN and the ordering meaningless.
float ClampWeight(float w) {
  return w > 0 ? std::min(w, 1.0f) : 0.0f;
}

}  // namespace

bool Planner::Configure(const PlannerConfig& config) {
  if (!Acceptable(config)) return false;
  size_t cells = static_cast<size_t>(config.width) * static_cast<size_t>(config.height);
  std::unique_ptr<float[]> grid(new (std::nothrow) float[cells]);
  if (grid == nullptr || !NormaliseGrid(config.costs, cells, grid.get())) return false;

  size_t poolSize = config.poolSize == 0 ? cells : static_cast<size_t>(config.poolSize);
  size_t openSize = config.openSize == 0 ? cells : static_cast<size_t>(config.openSize);
  ready_ = false;
  pathHead_ = nullptr;
  if (!pool_.Init(poolSize) || !open_.Init(openSize) || !nodes_.Init(config.width, config.height)) {
    pool_.Init(0);
    open_.Init(0);
    nodes_.Init(0, 0);
    grid_.reset();
    config_ = PlannerConfig{};
    return false;
  }
  grid_ = std::move(grid);
  config_ = config;
  config_.weight = ClampWeight(config.weight);
  config_.hashExponent = std::clamp(config.hashExponent, 0, 24) & ~1;
  counter_ = 0;
  ready_ = true;
  return true;
}

void Planner::BeginSearch() {
  ReleaseNodes();
  ready_ = false;
  counter_ = 0;
  pathHead_ = nullptr;
}

void Planner::EndSearch() {
  ReleaseNodes();
  pathHead_ = nullptr;
  ready_ = true;
}

// Every node in use belongs to this search, including one a search that ran out of room
// could place nowhere, so the pool takes them all back.
void Planner::ReleaseNodes() {
  open_.Clear();
  for (size_t i = 0; i < pool_.InUse(); ++i) nodes_.Remove(pool_.At(i));
  pool_.Release(pool_.InUse());
}

}  // namespace qrv
