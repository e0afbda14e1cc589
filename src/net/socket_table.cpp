// The socket table and the network users count.
#include "net/socket_table.h"

#include <atomic>
#include <mutex>

namespace qrv::net {

namespace {

// An entry handed out by ReserveEntry and not yet filled.
constexpr int kReserved = -2;

struct SocketTable {
  std::mutex lock;
  int32_t users = 0;
  SocketEntry entries[kSocketCount];
};

SocketTable& Table() {
  static SocketTable table;
  return table;
}

std::atomic<int32_t> gLastError{0};

bool ValidHandle(int32_t handle) {
  return handle >= 0 && handle < kSocketCount;
}

}  // namespace

void SetLastNetError(int32_t code) {
  gLastError.store(code, std::memory_order_relaxed);
}

int32_t LastNetError() {
  return gLastError.load(std::memory_order_relaxed);
}

int32_t StartNetwork() {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (table.users++ == 0) {
    for (SocketEntry& entry : table.entries) entry = SocketEntry{};
  }
  SetLastNetError(0);
  return 1;
}

void StopNetwork() {
  SocketTable& table = Table();
  SocketEntry closing[kSocketCount];
  int32_t count = 0;
  {
    std::lock_guard guard(table.lock);
    if (table.users == 0 || --table.users > 0) return;
    for (SocketEntry& entry : table.entries) {
      if (entry.socket >= 0) closing[count++] = entry;
      entry = SocketEntry{};
    }
  }
  // UDP sockets are closed too: a freed entry must not leave its socket behind.
  for (int32_t i = 0; i < count; ++i) {
    if (!platform::CloseSocket(closing[i].socket)) SetLastNetError(platform::LastSocketError());
  }
}

bool NetworkStarted() {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  return table.users > 0;
}

int32_t ReserveEntry() {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (table.users == 0) {
    SetLastNetError(10093);
    return -1;
  }
  for (int32_t i = 0; i < kSocketCount; ++i) {
    if (table.entries[i].socket == -1) {
      table.entries[i].socket = kReserved;
      return i;
    }
  }
  SetLastNetError(8);
  return -1;
}

void FillEntry(int32_t handle, const SocketEntry& entry) {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (ValidHandle(handle) && table.entries[handle].socket == kReserved) {
    table.entries[handle] = entry;
    return;
  }
  // The network was stopped meanwhile: the socket has no entry to live in.
  platform::CloseSocket(entry.socket);
}

void ReleaseEntry(int32_t handle) {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (ValidHandle(handle) && table.entries[handle].socket == kReserved) {
    table.entries[handle] = SocketEntry{};
  }
}

bool FindEntry(int32_t handle, SocketEntry& entry) {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (ValidHandle(handle) && table.entries[handle].socket >= 0) {
    entry = table.entries[handle];
    return true;
  }
  SetLastNetError(10038);
  return false;
}

bool TakeEntry(int32_t handle, SocketEntry& entry) {
  SocketTable& table = Table();
  std::lock_guard guard(table.lock);
  if (ValidHandle(handle) && table.entries[handle].socket >= 0) {
    entry = table.entries[handle];
    table.entries[handle] = SocketEntry{};
    return true;
  }
  SetLastNetError(10038);
  return false;
}

}  // namespace qrv::net
