// The host side of the session protocol (docs/sessions.md).
#include "net/session_hub.h"

#include "net/socket_table.h"
#include "platform/platform.h"

namespace qrv::net {

namespace {

// A registration may take this long after the connection came in, and a greeting this long
// after the registration.
constexpr uint32_t kGreetMs = 5000;
// While this much waits for the hosting program's own player, the hub reads from no other
// player: their frames stay in the connections, and TCP holds the senders back.
constexpr size_t kOwnerBacklog = 64 << 10;
// Accepted connections keep only a small send queue in the host system, so a player
// that does not read shows up in the hub's own backlog.
constexpr int kPeerSendBuffer = 64 << 10;

}  // namespace

SessionHub::SessionHub(NetworkState& state, int32_t listenHandle, uint16_t ownPort)
    : state_(state), listenHandle_(listenHandle), ownPort_(ownPort) {
  SocketEntry entry;
  if (FindEntry(listenHandle, entry)) listenSocket_ = entry.socket;
}

bool SessionHub::Held(const Peer& peer) const {
  if (peer.owner || !peer.greeted) return false;
  for (const Peer& other : peers_) {
    if (other.owner && other.link.Pending() > kOwnerBacklog) return true;
  }
  return false;
}

bool SessionHub::OwnerGone() const {
  for (const Peer& peer : peers_) {
    if (peer.owner && !peer.gone) return false;
  }
  return true;
}

void SessionHub::Watch(std::vector<platform::PollEntry>& entries, bool accepting) const {
  platform::PollEntry listener;
  listener.socket = accepting && peers_.size() < kMaxPeers ? listenSocket_ : -1;
  listener.wantRead = true;
  entries.push_back(listener);
  for (const Peer& peer : peers_) {
    platform::PollEntry entry;
    entry.socket = peer.link.Socket();
    entry.wantRead = !peer.closing && !Held(peer);
    entry.wantWrite = peer.link.Pending() > 0;
    entries.push_back(entry);
  }
}

void SessionHub::Serve(const std::vector<platform::PollEntry>& entries, size_t first,
                       uint32_t now) {
  now_ = now;
  size_t count = peers_.size();
  if (entries[first].readable) Accept(now);
  for (size_t i = 0; i < count; ++i) {
    Peer& peer = peers_[i];
    if (Held(peer)) {
      peer.link.HoldInput(now);  // not read: its half frame is not its fault
      continue;
    }
    if (peer.gone || !entries[first + 1 + i].readable || peer.closing) continue;
    bool fine =
        peer.link.ReadFrames(now, [&](const Frame& frame) { return Dispatch(peer, frame); });
    if (!fine) peer.gone = true;
  }
  for (Peer& peer : peers_) {
    if (peer.gone) continue;
    bool late = !peer.greeted && now - peer.since > kGreetMs;
    // The hosting program's own player is never dropped for being slow: the hub waits.
    bool slow = !peer.owner &&
                (peer.link.Pending() > kMaxPeerBacklog || peer.link.OutputStalled(now, kStallMs));
    if (!peer.link.Flush(now) || late || slow || peer.link.InputStalled(now, kStallMs) ||
        (peer.closing && peer.link.Pending() == 0)) {
      peer.gone = true;
    }
  }
  RemoveGone();
}

void SessionHub::Accept(uint32_t now) {
  {
    // The flag may have changed while the thread waited.
    StateLock lock(state_);
    if (!state_.acceptFlag) return;
  }
  int32_t address = 0;
  int32_t handle = TcpAccept(listenHandle_, address);
  if (handle < 0) return;
  Peer peer;
  peer.link = SessionLink(handle);
  peer.since = now;
  platform::HostAddress local, remote;
  if (platform::SocketEnds(peer.link.Socket(), local, remote)) {
    peer.owner = remote.port == ownPort_ && platform::Ipv4Of(remote) >> 24 == 127;
  }
  platform::SetSendBuffer(peer.link.Socket(), kPeerSendBuffer);
  peers_.push_back(std::move(peer));
}

void SessionHub::SendTo(Peer& peer, uint8_t type, uint16_t first, uint16_t second,
                        std::string_view payload) {
  peer.link.Queue(EncodeFrame(type, first, second, payload));
}

bool SessionHub::Dispatch(Peer& peer, const Frame& frame) {
  if (peer.id == 0) return frame.type == kRegister && Register(peer, frame);
  switch (frame.type) {
    case kText:
      Relay(peer, frame);
      return true;
    case kLeave:
      if (!frame.payload.empty()) return false;
      if (frame.second == peer.id) return false;  // leaving: the connection goes
      if (peer.owner) Drop(frame.second);
      return true;
    case kQuery:
      if (frame.payload.size() != 2) return false;
      Answer(peer, frame);
      return true;
    case kGreeting:
      if (!frame.payload.empty()) return false;
      Greet(peer);
      return true;
    default:
      return false;  // a second registration, or a frame only the host sends
  }
}

uint16_t SessionHub::NextId() {
  StateLock lock(state_);
  for (int tries = 0; tries <= kLastPlayerId - kFirstPlayerId; ++tries) {
    uint16_t id = state_.nextPlayerId;
    state_.nextPlayerId = id >= kLastPlayerId ? kFirstPlayerId : static_cast<uint16_t>(id + 1);
    bool used = false;
    for (const Peer& other : peers_) used = used || other.id == id;
    if (!used) return id;
  }
  return 0;
}

bool SessionHub::Register(Peer& peer, const Frame& frame) {
  if (frame.payload.size() != kRecordSize) return false;
  peer.id = NextId();
  if (peer.id == 0) return false;
  peer.since = now_;
  peer.flags = ReadU16(frame.payload, 2) & kHostingFlag;
  if (!peer.owner) peer.flags = 0;
  peer.name = RecordName(frame.payload);
  SendTo(peer, kRegister, 0, peer.id, EncodeRecord(peer.id, peer.flags, peer.name));
  return true;
}

void SessionHub::Relay(const Peer& from, const Frame& frame) {
  for (Peer& peer : peers_) {
    if (!peer.greeted || peer.gone || peer.closing || &peer == &from) continue;
    if (frame.second == 0 || frame.second == peer.id) {
      SendTo(peer, kText, from.id, frame.second, frame.payload);
    }
  }
}

void SessionHub::Drop(uint16_t id) {
  for (Peer& peer : peers_) {
    if (peer.id == id && !peer.owner && !peer.gone) {
      SendTo(peer, kLeave, 0, id, {});
      peer.closing = true;
    }
  }
}

std::string SessionHub::PlayerList() const {
  std::string ids;
  for (const Peer& peer : peers_) {
    if (!peer.greeted || peer.gone || peer.closing) continue;
    ids.push_back(static_cast<char>(peer.id & 0xFF));
    ids.push_back(static_cast<char>(peer.id >> 8));
  }
  return ids;
}

void SessionHub::Greet(Peer& peer) {
  if (!peer.greeted) {
    peer.greeted = true;
    for (Peer& other : peers_) {
      if (&other != &peer && other.greeted && !other.gone && !other.closing) {
        SendTo(other, kJoined, peer.id, 0, peer.name);
      }
    }
  }
  SendTo(peer, kReply, 0, peer.id, PlayerList());
}

void SessionHub::Answer(Peer& peer, const Frame& query) {
  uint16_t wanted = ReadU16(query.payload, 0);
  if (wanted == 0) {
    SendTo(peer, kReply, 0, peer.id, PlayerList());
    return;
  }
  std::string answer;
  for (const Peer& other : peers_) {
    if (other.id == wanted && other.greeted && !other.gone && !other.closing) {
      answer = EncodeRecord(other.id, other.flags, other.name);
      answer.resize(4 + other.name.size());
    }
  }
  SendTo(peer, kReply, 0, peer.id, answer);
}

void SessionHub::RemoveGone() {
  for (size_t i = 0; i < peers_.size();) {
    if (!peers_[i].gone) {
      ++i;
      continue;
    }
    Peer peer = std::move(peers_[i]);
    peers_.erase(peers_.begin() + static_cast<std::ptrdiff_t>(i));
    peer.link.Close();
    if (!peer.greeted) continue;
    for (Peer& other : peers_) {
      if (other.greeted && !other.gone) SendTo(other, kLeave, 0, peer.id, {});
    }
  }
}

void SessionHub::End() {
  for (Peer& peer : peers_) {
    if (peer.id != 0 && !peer.owner) SendTo(peer, kLeave, 0, peer.id, {});
  }
  // Everything queued goes out, to every player that keeps taking it.
  for (bool pending = true; pending;) {
    pending = false;
    uint32_t now = platform::TickCount();
    for (Peer& peer : peers_) {
      if (peer.link.Flush(now) && peer.link.Pending() > 0 &&
          !peer.link.OutputStalled(now, kStallMs)) {
        pending = true;
      }
    }
    if (pending) platform::SleepMilliseconds(5);
  }
  for (Peer& peer : peers_) peer.link.Close();
  peers_.clear();
}

}  // namespace qrv::net
