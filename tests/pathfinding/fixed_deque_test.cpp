// FixedDeque against std::deque under long random runs of every operation, with the
// capacity limit, wrap-around, and the failures of a full or an empty deque.
#include "pathfinding/fixed_deque.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace {

void ExpectSame(qrv::FixedDeque<int>& deque, const std::deque<int>& model) {
  ASSERT_EQ(deque.Size(), model.size());
  ASSERT_EQ(deque.Empty(), model.empty());
  ASSERT_EQ(deque.Full(), model.size() == deque.Capacity());
  for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(deque.At(i), model[i]) << "at " << i;
  if (!model.empty()) {
    ASSERT_EQ(deque.Back(), model.back());
    ASSERT_EQ(deque.Front(), model.front());
  }
}

// One random operation on both; the deque must succeed exactly when the model can.
void Step(std::mt19937& random, qrv::FixedDeque<int>& deque, std::deque<int>& model) {
  const size_t capacity = deque.Capacity();
  const bool room = model.size() < capacity;
  int value = static_cast<int>(random() % 1000);
  size_t pos = model.empty() ? 0 : random() % (model.size() + 1);
  switch (random() % 6) {
    case 0:
      ASSERT_EQ(deque.PushBack(value), room);
      if (room) model.push_back(value);
      break;
    case 1:
      ASSERT_EQ(deque.PushFront(value), room);
      if (room) model.push_front(value);
      break;
    case 2:
      ASSERT_EQ(deque.PopBack(), !model.empty());
      if (!model.empty()) model.pop_back();
      break;
    case 3:
      ASSERT_EQ(deque.PopFront(), !model.empty());
      if (!model.empty()) model.pop_front();
      break;
    case 4:
      ASSERT_EQ(deque.Insert(pos, value), room);
      if (room) model.insert(model.begin() + static_cast<std::ptrdiff_t>(pos), value);
      break;
    default:
      ASSERT_EQ(deque.Erase(pos), pos < model.size());
      if (pos < model.size()) model.erase(model.begin() + static_cast<std::ptrdiff_t>(pos));
      break;
  }
}

TEST(FixedDeque, BehavesLikeABoundedDeque) {
  std::mt19937 random(11);
  for (size_t capacity : {1u, 2u, 3u, 7u, 16u}) {
    qrv::FixedDeque<int> deque;
    ASSERT_TRUE(deque.Init(capacity));
    std::deque<int> model;
    for (int32_t i = 0; i < 5000; ++i) {
      ASSERT_NO_FATAL_FAILURE(Step(random, deque, model)) << "capacity " << capacity;
      ASSERT_NO_FATAL_FAILURE(ExpectSame(deque, model)) << "capacity " << capacity;
    }
  }
}

TEST(FixedDeque, EdgesOfAnEmptyOrFullDeque) {
  qrv::FixedDeque<int> none;
  EXPECT_FALSE(none.PushBack(1));
  EXPECT_FALSE(none.PushFront(1));
  EXPECT_FALSE(none.Insert(0, 1));
  EXPECT_FALSE(none.PopBack());
  EXPECT_FALSE(none.Erase(0));

  qrv::FixedDeque<int> deque;
  ASSERT_TRUE(deque.Init(3));
  EXPECT_FALSE(deque.Insert(1, 5));  // past the end of an empty deque
  EXPECT_TRUE(deque.PushBack(1));
  EXPECT_TRUE(deque.PushFront(0));
  EXPECT_TRUE(deque.Insert(2, 2));
  EXPECT_TRUE(deque.Full());
  EXPECT_EQ(deque.Size(), 3u);  // head = tail, and not empty
  EXPECT_FALSE(deque.PushBack(3));
  EXPECT_FALSE(deque.Insert(0, 3));
  deque.Clear();
  EXPECT_TRUE(deque.Empty());
  EXPECT_EQ(deque.Size(), 0u);
}

}  // namespace
