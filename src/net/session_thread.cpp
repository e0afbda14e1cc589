// The session thread: moves the game's queued frames to the wire, sorts what the host
// sends into the reply, message and departure lists, and in the hosting program also
// runs the hub. It ends on a stop request or when the host's connection is gone.
#include <optional>
#include <vector>

#include "net/session_hub.h"
#include "net/session_link.h"
#include "net/session_state.h"
#include "platform/platform.h"

namespace qrv::net {

namespace {

// How long a leaving program keeps trying to get its last frames out.
constexpr uint32_t kLeaveMs = 5000;

// One frame from the host, with the lock held. False ends the session.
bool SortFrame(NetworkState& state, const Frame& frame) {
  switch (frame.type) {
    case kRegister:
      if (state.ownRecord != kRequestedId || frame.second < 1 || frame.second > kLastPlayerId) {
        return false;
      }
      state.ownId = frame.second;
      state.ownRecord = 0;
      return true;
    case kText:
      state.messages.push_back({frame.first, frame.payload});
      return true;
    case kLeave:
      if (frame.second == state.ownId) return false;  // dropped, or the host has ended
      if (state.departed.size() >= kMaxDeparted) state.departed.pop_front();
      state.departed.push_back(frame.second);
      return true;
    case kJoined:
      return true;
    case kReply:
      if (state.lateReplies > 0) {
        --state.lateReplies;  // the answer to a request that stopped waiting
        return true;
      }
      if (state.replies.size() >= kMaxReplies) state.replies.pop_front();
      state.replies.push_back(frame);
      return true;
    default:
      return false;
  }
}

// Takes what the game queued; false when a stop was requested.
bool TakeRequests(NetworkState& state, SessionLink& client, bool& accepting, bool& reading) {
  StateLock lock(state);
  // The game's frames wait in the outbox while the host is slow to take them.
  while (!state.outbox.empty() && client.Pending() < kMaxOutbox) {
    client.Queue(state.outbox.front());
    state.outboxBytes -= state.outbox.front().size();
    state.outbox.pop_front();
  }
  if (state.ownRecord == kWaitingId) {
    uint16_t flags = state.hosting ? kHostingFlag : 0;
    client.Queue(
        EncodeFrame(kRegister, kWaitingId, 0, EncodeRecord(kWaitingId, flags, state.ownName)));
    state.ownRecord = kRequestedId;
  }
  accepting = state.acceptFlag;
  reading = state.messages.size() < kMaxInbox;
  return !state.stopRequest;
}

void FinishSession(NetworkState& state, SessionLink& client, std::optional<SessionHub>& hub) {
  if (hub) hub->End();
  client.Close();
  int32_t listenHandle;
  {
    StateLock lock(state);
    listenHandle = state.listenHandle;
    state.threadRunning = false;
    state.stopRequest = true;
    state.listenHandle = -1;
    state.clientHandle = -1;
    state.ownId = 0;
    state.ownRecord = 0;
    state.nextPlayerId = kFirstPlayerId;
    state.acceptFlag = true;
    state.hosting = false;
  }
  if (listenHandle >= 0) SocketClose(listenHandle);
  NetStop();
}

}  // namespace

int32_t RunSessionThread(void* argument) {
  NetworkState& state = *static_cast<NetworkState*>(argument);
  std::optional<SessionHub> hub;
  SessionLink client;
  {
    StateLock lock(state);
    client = SessionLink(state.clientHandle);
    platform::HostAddress local, remote;
    if (state.hosting && platform::SocketEnds(client.Socket(), local, remote)) {
      hub.emplace(state, state.listenHandle, local.port);
    }
  }
  std::vector<platform::PollEntry> entries;
  // Leaving: the own frames (the leave last) go out, and the hub relays everything the own
  // player sent before it tells the others the session ends.
  bool leaving = false, relaying = false;
  uint32_t leaveStart = 0;
  while (client.Open()) {
    bool accepting = false, reading = false;
    if (!TakeRequests(state, client, accepting, reading) && !leaving) {
      leaving = true;
      leaveStart = platform::TickCount();
      StateLock lock(state);
      relaying = hub && state.ownId != 0;  // a registered own player sent its leave
    }
    if (leaving && ((client.Pending() == 0 && (!relaying || hub->OwnerGone())) ||
                    platform::TickCount() - leaveStart > kLeaveMs)) {
      break;
    }
    entries.assign(2, platform::PollEntry{});
    entries[0].socket = state.wake.readEnd;
    entries[0].wantRead = true;
    entries[1].socket = client.Socket();
    entries[1].wantRead = reading;
    entries[1].wantWrite = client.Pending() > 0;
    if (hub) hub->Watch(entries, accepting);
    platform::PollSockets(entries.data(), entries.size(), 100);
    if (entries[0].readable) platform::DrainWakePipe(state.wake);
    uint32_t now = platform::TickCount();
    bool fine =
        !(entries[1].readable && reading) || client.ReadFrames(now, [&](const Frame& frame) {
          StateLock lock(state);
          return SortFrame(state, frame);
        });
    if (!fine || !client.Flush(now)) break;
    if (hub) hub->Serve(entries, 2, now);
  }
  FinishSession(state, client, hub);
  return 0;
}

}  // namespace qrv::net
