// Locks that know their owner, and threads with results.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "quorvia/net.h"

namespace {

using namespace qrv;

TEST(RtMutexTest, OwnerRulesAndReturnCodes) {
  EXPECT_EQ(MutexCreate(nullptr), 22);
  EXPECT_EQ(MutexLock(nullptr), 22);
  EXPECT_EQ(MutexUnlock(nullptr), 22);
  EXPECT_EQ(MutexDestroy(nullptr), 22);

  RtMutex* mutex = nullptr;
  ASSERT_EQ(MutexCreate(&mutex), 0);
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(MutexUnlock(mutex), 1) << "nobody owns it";
  EXPECT_EQ(MutexLock(mutex), 0);
  EXPECT_EQ(MutexLock(mutex), 36) << "the owner asks again: no deadlock";
  int32_t otherUnlock = -1;
  std::thread([&] { otherUnlock = MutexUnlock(mutex); }).join();
  EXPECT_EQ(otherUnlock, 1) << "only the owner unlocks";
  EXPECT_EQ(MutexDestroy(&mutex), 16) << "held";
  EXPECT_EQ(MutexUnlock(mutex), 0) << "held once: one unlock frees it";
  int32_t otherLock = -1;
  std::thread([&] {
    otherLock = MutexLock(mutex);
    MutexUnlock(mutex);
  }).join();
  EXPECT_EQ(otherLock, 0);
  EXPECT_EQ(MutexDestroy(&mutex), 0);
  EXPECT_EQ(mutex, nullptr);
}

struct Shared {
  RtMutex* mutex = nullptr;
  int64_t counter = 0;
};

int32_t CountUnderLock(void* argument) {
  auto* shared = static_cast<Shared*>(argument);
  for (int i = 0; i < 20000; ++i) {
    MutexLock(shared->mutex);
    shared->counter = shared->counter + 1;
    MutexUnlock(shared->mutex);
  }
  return 7;
}

TEST(ThreadsTest, JoinableThreadsShareALockAndHandBackTheirResult) {
  Shared shared;
  ASSERT_EQ(MutexCreate(&shared.mutex), 0);
  int64_t handles[4];
  for (int64_t& handle : handles) {
    handle = ThreadStart(CountUnderLock, &shared, true);
    ASSERT_GE(handle, 1);
  }
  for (int64_t handle : handles) {
    int32_t result = 0;
    EXPECT_EQ(ThreadJoin(handle, &result), 0);
    EXPECT_EQ(result, 7);
  }
  EXPECT_EQ(shared.counter, 80000);
  EXPECT_EQ(ThreadJoin(handles[0], nullptr), 22) << "joined already";
  EXPECT_EQ(ThreadStart(nullptr, nullptr, true), -1);
  MutexDestroy(&shared.mutex);
}

std::atomic<int> gDetachedRuns{0};

TEST(ThreadsTest, DetachedThreadRunsWithoutHandle) {
  EXPECT_EQ(ThreadStart([](void*) -> int32_t { return ++gDetachedRuns; }, nullptr, false), 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (gDetachedRuns.load() == 0 && std::chrono::steady_clock::now() < deadline) ThreadSleep(1);
  EXPECT_EQ(gDetachedRuns.load(), 1);
}

}  // namespace
