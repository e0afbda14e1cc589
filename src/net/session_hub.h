// The hosting program's side of a session: it accepts the players' connections, gives
// out ids, relays texts, answers queries and notes departures. It runs on the session
// thread and never waits on a socket; a player that breaks the rules or stops taking
// its data is dropped with its connection while the others carry on.
#pragma once

#include <cstdint>
#include <vector>

#include "net/session_link.h"
#include "net/session_state.h"
#include "platform/socket_host.h"

namespace qrv::net {

class SessionHub {
 public:
  // ownPort: the local port of the hosting program's own connection, whose player may
  // drop others.
  SessionHub(NetworkState& state, int32_t listenHandle, uint16_t ownPort);

  // Adds the sockets to watch (the listener only while accepting).
  void Watch(std::vector<platform::PollEntry>& entries, bool accepting) const;
  // Serves what the poll found, from entries[first] on, in the order Watch added them.
  void Serve(const std::vector<platform::PollEntry>& entries, size_t first, uint32_t now);
  // Tells every player the session ends, sends everything queued to each player that keeps
  // taking it (one that takes nothing for 3 s is given up), closes all.
  void End();
  // True once the hosting program's own connection has left (or never came).
  bool OwnerGone() const;

 private:
  struct Peer {
    SessionLink link;
    uint16_t id = 0;  // 0 until registered
    uint16_t flags = 0;
    bool greeted = false;
    bool owner = false;    // the hosting program's own player
    bool closing = false;  // dropped: goes once its last frames are out
    bool gone = false;     // to be removed
    uint32_t since = 0;    // when it connected, then when it registered
    std::string name;
  };

  // True while the hub does not read from a greeted player because so much waits for the
  // hosting program's own player (players still joining are read: they send little, and
  // their deadlines run).
  bool Held(const Peer& peer) const;
  void Accept(uint32_t now);
  bool Dispatch(Peer& peer, const Frame& frame);
  bool Register(Peer& peer, const Frame& frame);
  void Relay(const Peer& from, const Frame& frame);
  void Drop(uint16_t id);
  void Greet(Peer& peer);
  std::string PlayerList() const;
  void Answer(Peer& peer, const Frame& query);
  void SendTo(Peer& peer, uint8_t type, uint16_t first, uint16_t second, std::string_view payload);
  void RemoveGone();
  uint16_t NextId();

  NetworkState& state_;
  int32_t listenHandle_;
  uint16_t ownPort_;
  int listenSocket_ = -1;
  std::vector<Peer> peers_;
  uint32_t now_ = 0;  // the time of the pass being served
};

}  // namespace qrv::net
