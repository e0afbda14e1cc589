// FindPath as game code calls it: the paths it writes, what it leaves alone when the request
// is rejected, the cost normalisation and the weight rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "pathfinding/astar_planner.h"
#include "pathfinding/command_search.h"
#include "quorvia/pathfinding.h"

namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;

// rows[y][x]: the grid as it reads on the page.
qrv::RtArray<double> Grid(const std::vector<std::vector<double>>& rows) {
  qrv::RtArray<double> costs;
  int32_t width = static_cast<int32_t>(rows[0].size()), height = static_cast<int32_t>(rows.size());
  costs.Dim(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) costs.ElementAt(x, y) = rows[y][x];
  }
  return costs;
}

template <typename Element>
Cells Rows(const qrv::RtArray<Element>& path) {
  Cells cells;
  for (int32_t i = 0; i < path.Bounds(0); ++i) {
    cells.push_back(
        {static_cast<int32_t>(path.ElementAt(i, 0)), static_cast<int32_t>(path.ElementAt(i, 1))});
  }
  return cells;
}

struct PathCase {
  const char* name;
  std::vector<std::vector<double>> rows;
  int32_t sx, sy, gx, gy;
  Cells expected;  // empty: no path, and the array is emptied
};

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

const PathCase kPathCases[] = {
    {"straight line", {{1, 1, 1}}, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}},
    {"open 3x3 has no diagonal moves",
     {{1, 1, 1}, {1, 1, 1}, {1, 1, 1}},
     0,
     0,
     2,
     2,
     {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}},
    {"wall without a gap", {{1, 0, 1}, {1, -2, 1}, {1, 0, 1}}, 0, 0, 2, 2, {}},
    {"around a wall",
     {{1, 0, 1}, {1, 0, 1}, {1, 1, 1}},
     0,
     0,
     2,
     0,
     {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}}},
    {"blocked start is still left", {{0, 1, 1}}, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}},
    {"blocked goal is unreachable", {{1, 1, 0}}, 0, 0, 2, 0, {}},
    {"a dear cell costs at most twice a cheap one",
     {{1, 50, 1}, {1, 1, 1}},
     0,
     0,
     2,
     0,
     {{0, 0}, {1, 0}, {2, 0}}},
    {"equal routes: the first neighbour found wins",
     {{1, 1}, {1, 1}},
     0,
     0,
     1,
     1,
     {{0, 0}, {1, 0}, {1, 1}}},
    {"infinite cost blocks", {{1, kInf, 1}}, 0, 0, 2, 0, {}},
    {"NaN cost blocks", {{1, kNaN, 1}}, 0, 0, 2, 0, {}},
    {"path right to left", {{1, 1, 1, 1}}, 3, 0, 0, 0, {{3, 0}, {2, 0}, {1, 0}, {0, 0}}},
};

TEST(FindPath, WritesThePathStartFirstOrEmptiesTheArray) {
  for (const PathCase& c : kPathCases) {
    qrv::RtArray<double> costs = Grid(c.rows);
    qrv::RtArray<int32_t> path;
    path.Dim(4, 2);
    qrv::RtArray<double> floats;
    int32_t n = qrv::FindPath(costs, path, 0.5, c.sx, c.sy, c.gx, c.gy);
    EXPECT_EQ(n, static_cast<int32_t>(c.expected.size())) << c.name;
    EXPECT_EQ(Rows(path), c.expected) << c.name;
    EXPECT_EQ(path.Dims(), c.expected.empty() ? 0 : 2) << c.name;
    EXPECT_EQ(qrv::FindPath(costs, floats, 0.5, c.sx, c.sy, c.gx, c.gy), n) << c.name;
    EXPECT_EQ(Rows(floats), c.expected) << c.name;
  }
}

struct RejectCase {
  const char* name;
  std::vector<std::vector<double>> rows;
  int32_t sx, sy, gx, gy;
};

const RejectCase kRejectCases[] = {
    {"start = goal", {{1, 1, 1}}, 1, 0, 1, 0},
    {"start left of the grid", {{1, 1, 1}}, -1, 0, 2, 0},
    {"goal below the grid", {{1, 1, 1}}, 0, 0, 2, 1},
    {"goal right of the grid", {{1, 1, 1}}, 0, 0, 3, 0},
    {"start above the grid", {{1, 1, 1}}, 0, -1, 2, 0},
    {"no positive cell", {{0, -1, 0}}, 0, 0, 2, 0},
};

TEST(FindPath, RejectedRequestsLeaveThePathArrayAlone) {
  for (const RejectCase& c : kRejectCases) {
    qrv::RtArray<double> costs = Grid(c.rows);
    qrv::RtArray<int32_t> path;
    path.Dim(3, 2);
    path.ElementAt(2, 1) = 77;
    EXPECT_EQ(qrv::FindPath(costs, path, 0.5, c.sx, c.sy, c.gx, c.gy), 0) << c.name;
    EXPECT_EQ(path.Bounds(0), 3) << c.name;
    EXPECT_EQ(path.Bounds(1), 2) << c.name;
    EXPECT_EQ(path.ElementAt(2, 1), 77) << c.name;
  }
  // A one-dimensional cost array has no second extent, so no grid.
  qrv::RtArray<double> line;
  line.Dim(5);
  for (int32_t i = 0; i < 5; ++i) line.ElementAt(i) = 1;
  qrv::RtArray<int32_t> path;
  path.Dim(1, 2);
  EXPECT_EQ(qrv::FindPath(line, path, 0.5, 0, 0, 4, 0), 0);
  EXPECT_EQ(path.Bounds(0), 1);
}

TEST(FindPath, CostsAreNormalisedToOneToTwo) {
  const double costs[] = {1, 100, -5, 0, kInf, 50.5};
  qrv::AStarPlanner planner;
  ASSERT_TRUE(planner.Configure(qrv::CommandConfig(costs, 3, 2, 0.5, 0, 0, 1, 0)));
  EXPECT_EQ(planner.CostAt(0, 0), 1.01f);
  EXPECT_EQ(planner.CostAt(1, 0), 2.0f);
  EXPECT_EQ(planner.CostAt(2, 0), qrv::kBlockedCell);
  EXPECT_EQ(planner.CostAt(0, 1), qrv::kBlockedCell);
  EXPECT_EQ(planner.CostAt(1, 1), qrv::kBlockedCell);
  EXPECT_EQ(planner.CostAt(2, 1), 1.505f);
  // Costs beyond the float range still normalise: the division is done in double.
  const double huge[] = {1e300, 2e300, 1e-300};
  ASSERT_TRUE(planner.Configure(qrv::CommandConfig(huge, 3, 1, 0.5, 0, 0, 2, 0)));
  EXPECT_EQ(planner.CostAt(0, 0), 1.5f);
  EXPECT_EQ(planner.CostAt(1, 0), 2.0f);
  EXPECT_EQ(planner.CostAt(2, 0), 1.0f);
}

// Weights outside 0..1 act as the nearest end, NaN as 0; found on a grid where the
// cheapest and the greedy path differ.
TEST(FindPath, WeightsAreClamped) {
  std::mt19937 random(3);
  for (int32_t trial = 0; trial < 1000; ++trial) {
    qrv::RtArray<double> costs;
    costs.Dim(8, 8);
    for (int32_t i = 0; i < 64; ++i) costs.Data()[i] = 1 + random() % 9;
    qrv::RtArray<int32_t> cheapest, greedy, below, above, nan;
    qrv::FindPath(costs, cheapest, 0, 0, 0, 7, 7);
    qrv::FindPath(costs, greedy, 1, 0, 0, 7, 7);
    if (Rows(cheapest) == Rows(greedy)) continue;
    qrv::FindPath(costs, below, -3.5, 0, 0, 7, 7);
    qrv::FindPath(costs, above, 12, 0, 0, 7, 7);
    qrv::FindPath(costs, nan, kNaN, 0, 0, 7, 7);
    EXPECT_EQ(Rows(below), Rows(cheapest));
    EXPECT_EQ(Rows(above), Rows(greedy));
    EXPECT_EQ(Rows(nan), Rows(cheapest));
    return;
  }
  FAIL() << "no grid where the weights disagree";
}

TEST(FindPath, CostArrayMayAlsoReceiveThePath) {
  qrv::RtArray<double> grid = Grid({{1, 1, 1}, {1, 1, 1}});
  EXPECT_EQ(qrv::FindPath(grid, grid, 0.5, 0, 0, 2, 1), 4);
  EXPECT_EQ(Rows(grid), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

}  // namespace
