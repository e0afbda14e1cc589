// Planner: the abstract path planner. It owns the normalised cost grid, the node pool,
// the open list and the table of nodes by cell; a concrete planner supplies the search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "pathfinding/node.h"
#include "pathfinding/node_factory.h"
#include "pathfinding/node_hash_table.h"
#include "pathfinding/open_list.h"

namespace qrv {

// The cost of a diagonal step relative to a straight one (single precision of sqrt 2).
inline constexpr float kDiagonalFactor = 1.4142137f;
// Grid value of a cell that cannot be entered.
inline constexpr float kBlockedCell = -1.0f;

struct PlannerConfig {
  int32_t startX = 0, startY = 0;
  int32_t goalX = 0, goalY = 0;
  bool diagonalCost = true;    // a diagonal step costs the cell cost x kDiagonalFactor
  bool diagonalMoves = false;  // the four diagonal neighbours are searched too
  int32_t poolSize = 0;        // 0: width x height
  int32_t openSize = 0;        // 0: width x height
  int32_t hashExponent = 8;    // kept to 0..24 and even; the table addresses cells directly
  float weight = 0.5f;         // heuristic weight, clamped to 0..1
  int32_t width = 0, height = 0;
  const double* costs = nullptr;  // width x height; cell (x, y) is costs[x + y * width]
};

class Planner {
 public:
  Planner() = default;
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;
  virtual ~Planner() = default;

  // Takes a grid and search settings. False when start or goal lie outside the grid,
  // start = goal, no cell has a positive finite cost or a size is absurd (the planner stays
  // as it was), or when memory is short (the planner is left unconfigured).
  bool Configure(const PlannerConfig& config);
  // Prepares a search (any nodes of an earlier one go back to the pool).
  virtual void BeginSearch();
  // Runs the search; true when it has ended (with or without a path).
  virtual bool RunSearch() = 0;
  // Gives every node back and forgets the path.
  virtual void EndSearch();

  bool Ready() const { return ready_; }
  int32_t SearchCount() const { return counter_; }
  // The goal node after a successful search (follow the parents to the start), else none.
  const Node* PathHead() const { return pathHead_; }
  const PlannerConfig& Config() const { return config_; }
  // The normalised cost of a cell: 1..2 to enter, kBlockedCell when it cannot be entered.
  float CostAt(int32_t x, int32_t y) const { return grid_[Cell(x, y)]; }
  const NodeFactory& Pool() const { return pool_; }

 protected:
  size_t Cell(int32_t x, int32_t y) const {
    return static_cast<size_t>(x) + static_cast<size_t>(y) * static_cast<size_t>(config_.width);
  }
  // Gives the nodes of the open list and the node table back to the pool.
  void ReleaseNodes();

  bool ready_ = false;
  NodeFactory pool_;
  PlannerConfig config_;
  std::unique_ptr<float[]> grid_;
  int32_t counter_ = 0;
  OpenList open_;
  NodeHashTable nodes_;
  Node* pathHead_ = nullptr;
};

}  // namespace qrv
