// AStarPlanner: weighted best-first search over the cost grid. With weight 0 it is
// uniform-cost search, with 0.5 plain A* on the Manhattan distance, with 1 greedy search.
#pragma once

#include "pathfinding/planner.h"

namespace qrv {

class AStarPlanner : public Planner {
 public:
  // Puts the start cell alone in the open list.
  void BeginSearch() override;
  // Expands nodes until the goal leaves the open list or nothing is left to expand.
  bool RunSearch() override;

 private:
  // Offers cell (x, y) at cost g through current; false when the pool or the open list
  // has run out, which ends the search without a path.
  bool Relax(Node* current, int32_t x, int32_t y, float g, float f);
  bool Expand(Node* current, float weight, float diagonal);
};

}  // namespace qrv
