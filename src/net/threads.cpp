// Locks that know their owner, and threads started by function and argument.
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "net/socket_table.h"
#include "platform/platform.h"
#include "quorvia/net.h"

namespace qrv {

namespace {

// A small number per thread, never 0 (0 marks a free lock).
uint64_t ThisThreadNumber() {
  static std::atomic<uint64_t> next{1};
  thread_local uint64_t number = next.fetch_add(1);
  return number;
}

struct JoinableThread {
  std::thread thread;
  std::shared_ptr<int32_t> result;
};

struct ThreadTable {
  std::mutex lock;
  int64_t nextHandle = 1;
  std::map<int64_t, JoinableThread> threads;
};

ThreadTable& Threads() {
  static ThreadTable table;
  return table;
}

}  // namespace

struct RtMutex {
  std::mutex section;
  std::atomic<uint64_t> owner{0};
};

int32_t MutexCreate(RtMutex** place) {
  if (place == nullptr) return 22;
  *place = new (std::nothrow) RtMutex;
  return *place == nullptr ? 12 : 0;
}

int32_t MutexLock(RtMutex* mutex) {
  if (mutex == nullptr) return 22;
  uint64_t self = ThisThreadNumber();
  if (mutex->owner.load() == self) return 36;
  mutex->section.lock();
  mutex->owner.store(self);
  return 0;
}

int32_t MutexUnlock(RtMutex* mutex) {
  if (mutex == nullptr) return 22;
  if (mutex->owner.load() != ThisThreadNumber()) return 1;
  mutex->owner.store(0);
  mutex->section.unlock();
  return 0;
}

int32_t MutexDestroy(RtMutex** place) {
  if (place == nullptr || *place == nullptr) return 22;
  if ((*place)->owner.load() != 0) return 16;
  delete *place;
  *place = nullptr;
  return 0;
}

int64_t ThreadStart(ThreadFunction function, void* argument, bool joinable) {
  if (function == nullptr) return -1;
  if (!platform::CanStartThreads()) {
    net::SetLastNetError(12);
    return -1;
  }
  auto result = std::make_shared<int32_t>(0);
  try {
    std::thread thread([function, argument, result] { *result = function(argument); });
    if (!joinable) {
      thread.detach();
      return 0;
    }
    ThreadTable& table = Threads();
    std::lock_guard guard(table.lock);
    int64_t handle = table.nextHandle++;
    table.threads.emplace(handle, JoinableThread{std::move(thread), result});
    return handle;
  } catch (...) {
    net::SetLastNetError(12);
    return -1;
  }
}

int32_t ThreadJoin(int64_t handle, int32_t* exitCode) {
  JoinableThread joined;
  {
    ThreadTable& table = Threads();
    std::lock_guard guard(table.lock);
    auto found = table.threads.find(handle);
    if (found == table.threads.end() ||
        found->second.thread.get_id() == std::this_thread::get_id()) {
      return 22;
    }
    joined = std::move(found->second);
    table.threads.erase(found);
  }
  joined.thread.join();
  if (exitCode != nullptr) *exitCode = *joined.result;
  return 0;
}

void ThreadYield() {
  std::this_thread::yield();
}

void ThreadSleep(int32_t ms) {
  platform::SleepMilliseconds(ms);
}

}  // namespace qrv
