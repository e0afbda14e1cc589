// The FindPath command's planner settings and path length.
#include "pathfinding/command_search.h"

#include <algorithm>

namespace qrv {

PlannerConfig CommandConfig(const double* costs, int32_t width, int32_t height, double weight,
                            int32_t startX, int32_t startY, int32_t goalX, int32_t goalY) {
  PlannerConfig config;
  config.startX = startX;
  config.startY = startY;
  config.goalX = goalX;
  config.goalY = goalY;
  config.diagonalCost = true;
  config.diagonalMoves = false;
  config.poolSize = 0;
  config.openSize = 0;
  config.hashExponent = 8;
  config.weight = weight > 0 ? static_cast<float>(std::min(weight, 1.0)) : 0.0f;
  config.width = width;
  config.height = height;
  config.costs = costs;
  return config;
}

int32_t PathLength(const Node* head) {
  int32_t length = 0;
  for (const Node* node = head; node != nullptr; node = node->parent) ++length;
  return length;
}

}  // namespace qrv
