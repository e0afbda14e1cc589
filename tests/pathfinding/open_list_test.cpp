// The open list against a plain model under long random runs: best f first, equal f in
// the order of their last insertion, re-ranking, a full list, and the renumbering that a
// heap full of stale entries or a run out of entry numbers sets off.
#include "pathfinding/open_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Each open node with its f and the time of its last insertion.
struct Model {
  struct Open {
    float f;
    uint64_t time;
    qrv::Node* node;
  };
  std::vector<Open> open;
  uint64_t clock = 0;

  void Insert(qrv::Node* node) {
    std::erase_if(open, [&](const Open& o) { return o.node == node; });
    open.push_back({node->f, clock++, node});
  }
  qrv::Node* PopBest() {
    auto best = std::min_element(open.begin(), open.end(), [](const Open& a, const Open& b) {
      return a.f < b.f || (a.f == b.f && a.time < b.time);
    });
    qrv::Node* node = best->node;
    open.erase(best);
    return node;
  }
};

// Few distinct f values, so most ranks are decided by the insertion order; -0 equals +0.
constexpr float kKeys[] = {-1.5f, -0.0f, 0.0f, 1.0f, 2.5f, 2.5f, 7.0f};

void RandomRun(uint32_t seed, size_t capacity, uint32_t orders) {
  std::mt19937 random(seed);
  std::vector<qrv::Node> nodes(capacity + 3, qrv::Node{});
  qrv::OpenList list;
  ASSERT_TRUE(list.Init(capacity, orders));
  Model model;
  for (int32_t step = 0; step < 4000; ++step) {
    if (random() % 3 == 0 && !model.open.empty()) {
      ASSERT_EQ(list.PopBest(), model.PopBest()) << "step " << step;
    } else {
      qrv::Node* node = &nodes[random() % nodes.size()];
      node->f = kKeys[random() % std::size(kKeys)];
      bool room = node->open || model.open.size() < capacity;
      ASSERT_EQ(list.Insert(node), room) << "step " << step;
      if (room) {
        model.Insert(node);
        // Numbers stay below the limit: the list renumbers when they run out.
        ASSERT_LT(node->order, std::max<size_t>(orders, capacity + 1));
      }
    }
    ASSERT_EQ(list.Size(), model.open.size());
    ASSERT_EQ(list.Empty(), model.open.empty());
  }
  EXPECT_EQ(list.Clear(), model.open.size());
  EXPECT_TRUE(list.Empty());
}

TEST(OpenList, AgreesWithThePlainModel) {
  struct Case {
    size_t capacity;
    uint32_t orders;
  } cases[] = {{1, UINT32_MAX}, {2, UINT32_MAX}, {5, UINT32_MAX}, {64, UINT32_MAX},
               {5, 9},          {16, 20},        {64, 70},        {3, 1}};
  uint32_t seed = 1;
  for (const Case& c : cases) {
    for (int32_t run = 0; run < 5; ++run) {
      SCOPED_TRACE(testing::Message() << "capacity " << c.capacity << " orders " << c.orders);
      RandomRun(seed++, c.capacity, c.orders);
    }
  }
}

}  // namespace
