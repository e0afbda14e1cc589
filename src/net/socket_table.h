// The process-wide socket table: 1024 entries, a handle is an index. One lock guards the
// entries and the users count, so the session thread and the game's thread never get the
// same entry; socket calls themselves run outside the lock on a copy of the entry.
#pragma once

#include <cstdint>

#include "platform/socket_host.h"

namespace qrv::net {

constexpr int32_t kSocketCount = 1024;

struct SocketEntry {
  int socket = -1;  // the host socket; -1 free
  platform::HostAddress address;
  bool datagram = false;
};

void SetLastNetError(int32_t code);
int32_t LastNetError();

// Users count handling (NetStart / NetStop).
int32_t StartNetwork();
void StopNetwork();
bool NetworkStarted();

// The lowest free index, held for the caller until Fill or Release; -1 with error 8
// when the table is full, or 10093 while the network is not started.
int32_t ReserveEntry();
void FillEntry(int32_t handle, const SocketEntry& entry);
void ReleaseEntry(int32_t handle);
// A copy of a handle's entry; false (error 10038) for a free or invalid handle.
bool FindEntry(int32_t handle, SocketEntry& entry);
// Frees a handle and gives its entry; false for a free or invalid handle.
bool TakeEntry(int32_t handle, SocketEntry& entry);

}  // namespace qrv::net
