// Path finding: the FindPath command, a weighted A* search across a cost grid.
// The grid is a two-dimensional double array; a cell of 0 or less cannot be entered.
#pragma once

#include <cstdint>

#include "quorvia/rt_array.h"

namespace qrv {

// Finds a path from (startX, startY) to (goalX, goalY) across costs[x][y] (first index x),
// moving between edge neighbours. Weight 0 finds the cheapest path, 0.5 is plain A*, 1 is
// greedy; values outside 0..1 are clamped. On success the path array becomes n rows of
// [x, y] (row 0 the start, row n - 1 the goal) and the result is n. Without a path the
// array is emptied and the result is 0. When start or goal lie outside the grid, start =
// goal, or no cell can be entered, the result is 0 and the path array is left as it was.
int32_t FindPath(const RtArray<double>& costs, RtArray<int32_t>& path, double weight,
                 int32_t startX, int32_t startY, int32_t goalX, int32_t goalY);
// The same, writing the path as doubles.
int32_t FindPath(const RtArray<double>& costs, RtArray<double>& path, double weight, int32_t startX,
                 int32_t startY, int32_t goalX, int32_t goalY);

}  // namespace qrv
