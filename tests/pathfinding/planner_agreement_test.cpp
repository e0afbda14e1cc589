// The planner against the plain reference search on thousands of random grids: the same
// path, cell for cell, for every weight, with ties, walls and reopened nodes.
#include <gtest/gtest.h>

#include <random>

#include "pathfinding/astar_planner.h"
#include "pathfinding/command_search.h"
#include "pathfinding/reference_search.h"
#include "quorvia/pathfinding.h"

namespace {

using Path = std::vector<std::pair<int32_t, int32_t>>;

reference::Result RunPlanner(const qrv::PlannerConfig& config) {
  reference::Result result;
  qrv::AStarPlanner planner;
  result.configured = planner.Configure(config);
  if (!result.configured) return result;
  planner.BeginSearch();
  EXPECT_TRUE(planner.RunSearch());
  result.path.resize(qrv::PathLength(planner.PathHead()));
  qrv::VisitPath(planner.PathHead(), [&](int32_t row, int32_t x, int32_t y) {
    result.path[row] = {x, y};
  });
  planner.EndSearch();
  EXPECT_EQ(planner.Pool().InUse(), 0u);
  return result;
}

// The command itself, for the settings it uses (edge neighbours, diagonal cost).
Path RunCommand(const std::vector<double>& costs, int32_t width, int32_t height, double weight,
                int32_t sx, int32_t sy, int32_t gx, int32_t gy) {
  qrv::RtArray<double> grid;
  grid.Dim(width, height);
  std::copy(costs.begin(), costs.end(), grid.Data());
  qrv::RtArray<int32_t> rows;
  int32_t n = qrv::FindPath(grid, rows, weight, sx, sy, gx, gy);
  Path path;
  for (int32_t i = 0; i < n; ++i) path.push_back({rows.ElementAt(i, 0), rows.ElementAt(i, 1)});
  return path;
}

struct SizedGrid {
  int32_t width, height;
  std::vector<double> costs;
};

// Grids that provoke ties (few distinct costs), walls, and now and then real-valued costs.
SizedGrid RandomGrid(std::mt19937& random) {
  std::uniform_int_distribution<int32_t> side(1, 12);
  SizedGrid grid{side(random), side(random), {}};
  int32_t kind = std::uniform_int_distribution<int32_t>(0, 3)(random);
  double blocked = std::uniform_real_distribution<double>(0.0, 0.4)(random);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int32_t i = 0; i < grid.width * grid.height; ++i) {
    double cost = kind == 0   ? 1.0
                  : kind == 1 ? 1 + static_cast<int>(unit(random) * 3)
                  : kind == 2 ? 1 + static_cast<int>(unit(random) * 9)
                              : unit(random) * 50;
    if (unit(random) < blocked) cost = unit(random) < 0.5 ? 0.0 : -3.0;
    grid.costs.push_back(cost);
  }
  return grid;
}

struct Variant {
  const char* name;
  double weight;
  bool diagonalMoves;
  bool diagonalCost;
};

constexpr Variant kVariants[] = {{"uniform cost", 0.0, false, true},
                                 {"A*", 0.5, false, true},
                                 {"greedy", 1.0, false, true},
                                 {"weight 0.3", 0.3, false, true},
                                 {"A* diagonal", 0.5, true, true},
                                 {"greedy diagonal", 1.0, true, true},
                                 {"uniform diagonal unit", 0.0, true, false},
                                 {"clamped -2", -2.0, false, true},
                                 {"clamped 7", 7.0, false, true}};

TEST(PlannerAgreement, SamePathAsTheReferenceOnRandomGrids) {
  std::mt19937 random(20261207);
  int32_t found = 0;
  for (int32_t trial = 0; trial < 4000; ++trial) {
    SizedGrid grid = RandomGrid(random);
    std::uniform_int_distribution<int32_t> x(0, grid.width - 1), y(0, grid.height - 1);
    int32_t sx = x(random), sy = y(random), gx = x(random), gy = y(random);
    for (const Variant& v : kVariants) {
      qrv::PlannerConfig config =
          qrv::CommandConfig(grid.costs.data(), grid.width, grid.height, v.weight, sx, sy, gx, gy);
      config.diagonalMoves = v.diagonalMoves;
      config.diagonalCost = v.diagonalCost;
      reference::Result expected =
          reference::FindPath(grid.costs, grid.width, grid.height, v.weight, sx, sy, gx, gy,
                              {v.diagonalMoves, v.diagonalCost});
      reference::Result actual = RunPlanner(config);
      ASSERT_EQ(actual.configured, expected.configured) << v.name << " trial " << trial;
      ASSERT_EQ(actual.path, expected.path) << v.name << " trial " << trial;
      if (!v.diagonalMoves) {
        ASSERT_EQ(RunCommand(grid.costs, grid.width, grid.height, v.weight, sx, sy, gx, gy),
                  expected.path)
            << v.name << " trial " << trial;
      }
      found += !expected.path.empty();
    }
  }
  // The trials must mostly find paths, or they would prove little.
  EXPECT_GT(found, 4000 * 9 / 3);
}

TEST(PlannerAgreement, SamePathOnLargerMazesWithReopening) {
  std::mt19937 random(7);
  for (int32_t trial = 0; trial < 60; ++trial) {
    int32_t w = 40 + trial % 25, h = 30 + trial % 17;
    std::vector<double> costs(static_cast<size_t>(w) * h);
    for (double& c : costs) c = random() % 5 == 0 ? 0.0 : 1 + random() % 9;
    costs[0] = 1;
    costs.back() = 1;
    for (double weight : {0.0, 0.5, 0.8, 1.0}) {
      reference::Result expected = reference::FindPath(costs, w, h, weight, 0, 0, w - 1, h - 1);
      reference::Result actual =
          RunPlanner(qrv::CommandConfig(costs.data(), w, h, weight, 0, 0, w - 1, h - 1));
      ASSERT_EQ(actual.path, expected.path) << "weight " << weight << " trial " << trial;
    }
  }
}

}  // namespace
