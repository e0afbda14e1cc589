// FindPath: one planner per call, built on the stack, configured, searched once and
// torn down; the found path is written into the caller's array.
#include "pathfinding/astar_planner.h"
#include "pathfinding/command_search.h"
#include "quorvia/pathfinding.h"

namespace qrv {
namespace {

template <typename Element>
int32_t FindPathInto(const RtArray<double>& costs, RtArray<Element>& path, double weight,
                     int32_t startX, int32_t startY, int32_t goalX, int32_t goalY) {
  AStarPlanner planner;
  if (!planner.Configure(CommandConfig(costs.Data(), costs.Bounds(0), costs.Bounds(1), weight,
                                       startX, startY, goalX, goalY))) {
    return 0;
  }
  planner.BeginSearch();
  planner.RunSearch();
  int32_t length = PathLength(planner.PathHead());
  path.DimExact(length, length > 0 ? 2 : 0);
  VisitPath(planner.PathHead(), [&](int32_t row, int32_t x, int32_t y) {
    path.ElementAt(row, 0) = static_cast<Element>(x);
    path.ElementAt(row, 1) = static_cast<Element>(y);
  });
  planner.EndSearch();
  return length;
}

}  // namespace

int32_t FindPath(const RtArray<double>& costs, RtArray<int32_t>& path, double weight,
                 int32_t startX, int32_t startY, int32_t goalX, int32_t goalY) {
  return FindPathInto(costs, path, weight, startX, startY, goalX, goalY);
}

int32_t FindPath(const RtArray<double>& costs, RtArray<double>& path, double weight, int32_t startX,
                 int32_t startY, int32_t goalX, int32_t goalY) {
  return FindPathInto(costs, path, weight, startX, startY, goalX, goalY);
}

}  // namespace qrv
