// The search allocates nothing: every node comes from the pool taken at configuration.
// A counting operator new watches the whole test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "pathfinding/astar_planner.h"
#include "pathfinding/command_search.h"
#include "quorvia/pathfinding.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(size_t size) {
  ++allocations;
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
// Kept out of line: inlined into a caller, GCC takes the free for a mismatched delete.
[[gnu::noinline]] void operator delete(void* block) noexcept {
  std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept {
  std::free(block);
}
// The array and no-throw forms too: a sanitizer's own versions of them would not pass
// through the one above.
void* operator new[](size_t size) {
  return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
[[gnu::noinline]] void operator delete[](void* block) noexcept {
  std::free(block);
}
[[gnu::noinline]] void operator delete[](void* block, size_t) noexcept {
  std::free(block);
}

namespace {

std::vector<double> RandomGrid(int32_t side) {
  std::mt19937 random(static_cast<uint32_t>(side));
  std::vector<double> costs(static_cast<size_t>(side) * side);
  for (double& c : costs) c = random() % 4 == 0 ? 0.0 : 1 + random() % 9;
  costs.front() = costs.back() = 1;
  return costs;
}

TEST(SearchAllocation, TheSearchItselfAllocatesNothing) {
  for (int32_t side : {8, 64, 300}) {
    for (double weight : {0.0, 0.5, 1.0}) {
      std::vector<double> costs = RandomGrid(side);
      qrv::AStarPlanner planner;
      ASSERT_TRUE(planner.Configure(
          qrv::CommandConfig(costs.data(), side, side, weight, 0, 0, side - 1, side - 1)));
      long before = allocations;
      planner.BeginSearch();
      planner.RunSearch();
      planner.EndSearch();
      EXPECT_EQ(allocations - before, 0) << "side " << side << " weight " << weight;
    }
  }
}

// The whole command takes a fixed handful of blocks, however big the grid.
TEST(SearchAllocation, TheCommandAllocatesTheSameOnAnyGrid) {
  std::vector<long> counts;
  for (int32_t side : {20, 400}) {
    std::vector<double> costs = RandomGrid(side);
    qrv::RtArray<double> grid;
    grid.Dim(side, side);
    std::copy(costs.begin(), costs.end(), grid.Data());
    qrv::RtArray<int32_t> path;
    long before = allocations;
    qrv::FindPath(grid, path, 0.5, 0, 0, side - 1, side - 1);
    counts.push_back(allocations - before);
  }
  EXPECT_EQ(counts[0], counts[1]);
  EXPECT_GE(counts[0], 4);  // grid, pool, open list, node table: the counter sees them
  EXPECT_LE(counts[0], 6);
}

}  // namespace
