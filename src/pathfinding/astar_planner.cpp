// AStarPlanner: the search loop, the neighbour order and the rule for reopening and
// re-ranking nodes when a cheaper route to their cell turns up.
#include "pathfinding/astar_planner.h"

#include <cstdlib>

namespace qrv {
namespace {

struct Step {
  int32_t dx, dy;
  bool diagonal;
};

// The order neighbours are offered in (y grows downwards); it decides ties, so it is fixed.
constexpr Step kSteps[] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                           {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

}  // namespace

void AStarPlanner::BeginSearch() {
  Planner::BeginSearch();
  Node* start = pool_.Allocate();
  if (start == nullptr) return;
  *start = Node{nullptr, config_.startX, config_.startY, 0.0f, 0.0f, 0, false};
  nodes_.Insert(start);
  open_.Insert(start);
}

bool AStarPlanner::RunSearch() {
  ++counter_;
  const float weight = config_.weight;
  const float diagonal = config_.diagonalCost ? kDiagonalFactor : 1.0f;
  while (!open_.Empty()) {
    Node* current = open_.PopBest();
    if (current->x == config_.goalX && current->y == config_.goalY) {
      pathHead_ = current;
      break;
    }
    if (!Expand(current, weight, diagonal)) break;
  }
  ready_ = true;
  return true;
}

bool AStarPlanner::Expand(Node* current, float weight, float diagonal) {
  for (const Step& step : kSteps) {
    if (step.diagonal && !config_.diagonalMoves) continue;
    int32_t x = current->x + step.dx;
    int32_t y = current->y + step.dy;
    if (x < 0 || x >= config_.width || y < 0 || y >= config_.height) continue;
    float cost = grid_[Cell(x, y)];
    if (cost == kBlockedCell) continue;
    float g = current->g + (step.diagonal ? cost * diagonal : cost);
    float h = static_cast<float>(std::abs(config_.goalX - x) + std::abs(config_.goalY - y));
    float f = (h - g) * weight + g;
    if (!Relax(current, x, y, g, f)) return false;
  }
  return true;
}

// A cell's first route opens a new node; a cheaper one re-ranks the node if it is open and
// reopens it if it has been expanded.
bool AStarPlanner::Relax(Node* current, int32_t x, int32_t y, float g, float f) {
  Node* node = nodes_.Find(x, y);
  if (node == nullptr) {
    node = pool_.Allocate();
    if (node == nullptr) return false;
    node->x = x;
    node->y = y;
    node->open = false;
    nodes_.Insert(node);
  } else if (node->g <= g) {
    return true;
  }
  node->parent = current;
  node->g = g;
  node->f = f;
  return open_.Insert(node);
}

}  // namespace qrv
