// The search behind the FindPath command: its planner settings and the reading of the
// found path, shared by the command and the tests that check it against the planner.
#pragma once

#include <cstdint>

#include "pathfinding/planner.h"

namespace qrv {

// Four neighbours, diagonal cost on, pool and open list of one node per cell, hash
// exponent 8, the weight kept to 0..1 (NaN counts as 0).
PlannerConfig CommandConfig(const double* costs, int32_t width, int32_t height, double weight,
                            int32_t startX, int32_t startY, int32_t goalX, int32_t goalY);

// The number of cells from the path head back to the start (0 without a path).
int32_t PathLength(const Node* head);

// Writes the path's cells start first: visit(row, x, y) for row 0..PathLength(head) - 1.
template <typename Visit>
void VisitPath(const Node* head, Visit&& visit) {
  int32_t row = PathLength(head);
  for (const Node* node = head; node != nullptr; node = node->parent)
    visit(--row, node->x, node->y);
}

}  // namespace qrv
