// The planner's life across configurations and searches: rejected configurations keep
// the last good one, searches can be repeated, and a search that runs out of pool or
// open-list room ends without a path instead of running past its storage.
#include <gtest/gtest.h>

#include "pathfinding/astar_planner.h"
#include "pathfinding/command_search.h"

namespace {

const double kOpen4x4[16] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

int32_t Search(qrv::AStarPlanner& planner) {
  planner.BeginSearch();
  EXPECT_FALSE(planner.Ready());
  EXPECT_TRUE(planner.RunSearch());
  EXPECT_TRUE(planner.Ready());
  return qrv::PathLength(planner.PathHead());
}

TEST(PlannerLifecycle, RejectedConfigurationKeepsTheLastGoodOne) {
  qrv::AStarPlanner planner;
  ASSERT_TRUE(planner.Configure(qrv::CommandConfig(kOpen4x4, 4, 4, 0.5, 0, 0, 3, 3)));
  EXPECT_TRUE(planner.Ready());
  struct Bad {
    const char* name;
    qrv::PlannerConfig config;
  } bad[] = {
      {"start = goal", qrv::CommandConfig(kOpen4x4, 4, 4, 0.5, 1, 1, 1, 1)},
      {"no cost data", qrv::CommandConfig(nullptr, 4, 4, 0.5, 0, 0, 3, 3)},
      {"zero width", qrv::CommandConfig(kOpen4x4, 0, 4, 0.5, 0, 0, 3, 3)},
      {"negative height", qrv::CommandConfig(kOpen4x4, 4, -4, 0.5, 0, 0, 3, 3)},
      {"cell count beyond int32", qrv::CommandConfig(kOpen4x4, 65536, 65536, 0.5, 0, 0, 3, 3)},
  };
  for (auto& b : bad) EXPECT_FALSE(planner.Configure(b.config)) << b.name;
  qrv::PlannerConfig negativePool = qrv::CommandConfig(kOpen4x4, 4, 4, 0.5, 0, 0, 3, 3);
  negativePool.poolSize = -1;
  EXPECT_FALSE(planner.Configure(negativePool));
  EXPECT_EQ(planner.Config().goalX, 3);
  EXPECT_EQ(Search(planner), 7);
}

TEST(PlannerLifecycle, SearchesRepeatWithTheSameResultAndGiveEveryNodeBack) {
  qrv::AStarPlanner planner;
  ASSERT_TRUE(planner.Configure(qrv::CommandConfig(kOpen4x4, 4, 4, 0, 0, 0, 3, 3)));
  EXPECT_EQ(Search(planner), 7);
  size_t used = planner.Pool().InUse();
  EXPECT_GT(used, 7u);
  // A second search without EndSearch starts from scratch.
  EXPECT_EQ(Search(planner), 7);
  EXPECT_EQ(planner.Pool().InUse(), used);
  planner.EndSearch();
  EXPECT_EQ(planner.Pool().InUse(), 0u);
  EXPECT_EQ(planner.PathHead(), nullptr);
  EXPECT_EQ(Search(planner), 7);
}

TEST(PlannerLifecycle, SettingsAreKeptInRange) {
  qrv::AStarPlanner planner;
  qrv::PlannerConfig config = qrv::CommandConfig(kOpen4x4, 4, 4, 0.5, 0, 0, 3, 3);
  for (auto [given, kept] : {std::pair{8, 8}, {9, 8}, {31, 24}, {-3, 0}}) {
    config.hashExponent = given;
    ASSERT_TRUE(planner.Configure(config));
    EXPECT_EQ(planner.Config().hashExponent, kept);
  }
  for (auto [given, kept] : {std::pair{-0.5f, 0.0f}, {0.25f, 0.25f}, {4.0f, 1.0f}}) {
    config.weight = given;
    ASSERT_TRUE(planner.Configure(config));
    EXPECT_EQ(planner.Config().weight, kept);
  }
}

TEST(PlannerLifecycle, RunningOutOfRoomEndsWithoutAPath) {
  for (auto [pool, open] : {std::pair{3, 0}, {0, 1}, {1, 1}}) {
    qrv::AStarPlanner planner;
    qrv::PlannerConfig config = qrv::CommandConfig(kOpen4x4, 4, 4, 0.5, 0, 0, 3, 3);
    config.poolSize = pool;
    config.openSize = open;
    ASSERT_TRUE(planner.Configure(config));
    EXPECT_EQ(Search(planner), 0) << "pool " << pool << " open " << open;
    planner.EndSearch();
    EXPECT_EQ(planner.Pool().InUse(), 0u);
  }
}

TEST(PlannerLifecycle, UnconfiguredPlannerFindsNothing) {
  qrv::AStarPlanner planner;
  EXPECT_FALSE(planner.Ready());
  EXPECT_EQ(Search(planner), 0);
  planner.EndSearch();
}

}  // namespace
