// The session state of the process: ids, handles, flags and the lists the session
// thread fills for the game's thread, all under one lock.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "net/session_frame.h"
#include "platform/socket_host.h"
#include "quorvia/net.h"

namespace qrv {

namespace net {

// Limits that keep a session's memory bounded whatever the peers do.
constexpr size_t kMaxInbox = 4096;             // texts waiting for the game
constexpr size_t kMaxDeparted = 4096;          // departure notes waiting for the game
constexpr size_t kMaxReplies = 16;             // answers waiting for a request
constexpr size_t kMaxOutbox = 1 << 20;         // bytes the game may queue ahead of the wire
constexpr size_t kMaxPeerBacklog = 256 << 10;  // bytes a player may leave unread at the host
constexpr uint32_t kStallMs = 3000;            // a half frame or unread output this long: dropped
constexpr int kMaxPeers = 128;
constexpr uint16_t kFirstPlayerId = 101;
constexpr uint16_t kLastPlayerId = 0xFEFF;
constexpr uint16_t kWaitingId = 0xFFFE;    // own record: registration wanted
constexpr uint16_t kRequestedId = 0xFFFC;  // own record: registration sent

struct ReceivedText {
  uint16_t sender;
  std::string text;
};

}  // namespace net

struct NetworkState {
  RtMutex* lock = nullptr;
  uint16_t nextPlayerId = net::kFirstPlayerId;
  uint16_t ownId = 0;
  int32_t listenHandle = -1;
  int32_t clientHandle = -1;
  // The own player record: its registration state (0, kWaitingId, kRequestedId) and name.
  uint16_t ownRecord = 0;
  std::string ownName = "query";
  bool hosting = false;
  bool stopRequest = true;
  bool threadRunning = false;
  bool acceptFlag = true;
  int64_t thread = 0;  // the session thread's handle, 0 when none was started
  // Frames the game queued for the wire, and their size.
  std::deque<std::string> outbox;
  size_t outboxBytes = 0;
  std::deque<net::Frame> replies;
  // Replies still owed to requests that stopped waiting: the next this many are late.
  size_t lateReplies = 0;
  // Received texts in arrival order, each with its sender.
  std::deque<net::ReceivedText> messages;
  // Ids of players that left, oldest first.
  std::deque<uint16_t> departed;
  platform::WakePipe wake;
};

namespace net {

// The process's session state (made on first use when start-up did not make it).
NetworkState& Session();

// Holds the state's lock for a scope.
class StateLock {
 public:
  explicit StateLock(NetworkState& state) : state_(state) { MutexLock(state_.lock); }
  ~StateLock() { MutexUnlock(state_.lock); }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;

 private:
  NetworkState& state_;
};

// The session thread (argument: the NetworkState).
int32_t RunSessionThread(void* state);

}  // namespace net
}  // namespace qrv
