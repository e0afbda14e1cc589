// The session commands of the game's thread: host, join, leave, texts, players and
// departures. They talk to the session thread only through the session state: frames
// go into its outbox, answers come back in its lists, so no command waits on a socket.
#include <string>

#include "frame/runtime.h"
#include "net/resolve.h"
#include "net/session_state.h"
#include "net/socket_io.h"
#include "platform/platform.h"

namespace qrv {

using net::StateLock;

namespace {

constexpr int32_t kDefaultPort = 27910;
constexpr int32_t kConnectMs = 5000;
// Answers and registrations are waited for in steps of 20 ms, 250 of them.
constexpr int kPollMs = 20;
constexpr int kPolls = 250;

void Wake(NetworkState& state) {
  platform::SignalWakePipe(state.wake);
}

// Polls a condition (checked under the lock) until it holds or the time is up.
template <class Condition>
bool AwaitUnderLock(NetworkState& state, Condition condition) {
  for (int i = 0; i < kPolls; ++i) {
    {
      StateLock lock(state);
      if (condition()) return true;
    }
    platform::SleepMilliseconds(kPollMs);
  }
  return false;
}

// Ends the session thread, if any, and waits for it.
void StopThread(NetworkState& state, bool sayGoodbye) {
  int64_t thread;
  {
    StateLock lock(state);
    if (sayGoodbye && state.threadRunning && state.ownId != 0) {
      state.outbox.push_back(net::EncodeFrame(net::kLeave, state.ownId, state.ownId, {}));
    }
    state.stopRequest = true;
    thread = state.thread;
    state.thread = 0;
  }
  Wake(state);
  if (thread != 0) ThreadJoin(thread, nullptr);
}

// Every session starts from here: the old one ended, every list emptied.
void ResetSession(NetworkState& state) {
  StopThread(state, true);
  StateLock lock(state);
  state.nextPlayerId = net::kFirstPlayerId;
  state.ownId = 0;
  state.ownRecord = 0;
  state.acceptFlag = true;
  state.outbox.clear();
  state.outboxBytes = 0;
  state.replies.clear();
  state.lateReplies = 0;
  state.messages.clear();
  state.departed.clear();
}

bool Queue(NetworkState& state, const std::string& frame) {
  {
    StateLock lock(state);
    if (!state.threadRunning || state.outboxBytes + frame.size() > net::kMaxOutbox) return false;
    state.outboxBytes += frame.size();
    state.outbox.push_back(frame);
  }
  Wake(state);
  return true;
}

// The own player id, registering first when there is none yet; 0 on failure.
uint16_t OwnId(NetworkState& state) {
  {
    StateLock lock(state);
    if (state.ownId != 0 || !state.threadRunning) return state.ownId;
    if (state.ownRecord == 0) state.ownRecord = net::kWaitingId;
  }
  Wake(state);
  uint16_t id = 0;
  AwaitUnderLock(state, [&] {
    id = state.ownId;
    return id != 0 || !state.threadRunning;
  });
  return id;
}

// Sends a request and takes its answer; false when none came in time. The host answers
// every request once, in order, so a request that stops waiting leaves one late reply
// behind, which the session thread throws away when it comes.
bool Request(NetworkState& state, const std::string& frame, net::Frame& reply) {
  if (!Queue(state, frame)) return false;
  AwaitUnderLock(state, [&] { return !state.replies.empty(); });
  StateLock lock(state);
  if (state.replies.empty()) {
    ++state.lateReplies;
    return false;
  }
  reply = std::move(state.replies.front());
  state.replies.pop_front();
  return true;
}

// A failed start: what was opened is closed and the network start undone.
int32_t GiveUp(int32_t listenHandle) {
  if (listenHandle >= 0) SocketClose(listenHandle);
  NetStop();
  return 0;
}

// Starts the thread on a connected client handle, registers and greets the host.
int32_t Enter(NetworkState& state, int32_t clientHandle, int32_t listenHandle) {
  {
    StateLock lock(state);
    state.clientHandle = clientHandle;
    state.listenHandle = listenHandle;
    state.hosting = listenHandle >= 0;
    state.threadRunning = true;
    state.stopRequest = false;
    state.thread = ThreadStart(net::RunSessionThread, &state, true);
    if (state.thread <= 0) {
      state.thread = 0;
      state.threadRunning = false;
    }
  }
  if (state.thread == 0) {
    SocketClose(clientHandle);
    return GiveUp(listenHandle);
  }
  net::Frame reply;
  uint16_t id = OwnId(state);
  if (id != 0 && Request(state, net::EncodeFrame(net::kGreeting, 0, id, {}), reply)) return 1;
  ResetSession(state);
  return 0;
}

RtString JoinIds(const std::string& ids) {
  std::string text;
  for (size_t at = 0; at + 1 < ids.size(); at += 2) {
    if (!text.empty()) text += "|";
    text += std::to_string(net::ReadU16(ids, at));
  }
  return RtString(text.c_str());
}

}  // namespace

namespace net {

NetworkState& Session() {
  Runtime& rt = TheRuntime();
  if (rt.network == nullptr) CreateNetworkState();
  return *rt.network;
}

}  // namespace net

void CreateNetworkState() {
  Runtime& rt = TheRuntime();
  if (rt.network != nullptr) return;
  auto* state = new NetworkState;
  MutexCreate(&state->lock);
  platform::OpenWakePipe(state->wake);
  rt.network = state;
}

void ReleaseNetworkState() {
  Runtime& rt = TheRuntime();
  if (rt.network != nullptr) {
    ResetSession(*rt.network);
    platform::CloseWakePipe(rt.network->wake);
    MutexDestroy(&rt.network->lock);
    delete rt.network;
    rt.network = nullptr;
  }
  for (int i = 0; i < 16; ++i) NetStop();
}

int32_t SessionHost(int32_t port) {
  NetworkState& state = net::Session();
  ResetSession(state);
  if (port < 1) port = kDefaultPort;
  NetStart();
  std::string about = "port " + std::to_string(port & 0xFFFF);
  int32_t listenHandle = TcpListen(port);
  if (listenHandle < 0) return net::SayFailure("SessionHost", about, GiveUp(-1));
  // The host's own connection stays on this machine: loopback always reaches the listener.
  int32_t client = net::ConnectTo(platform::Ipv4Address(0x7F000001, port & 0xFFFF), kConnectMs);
  if (client < 0) return net::SayFailure("SessionHost", about, GiveUp(listenHandle));
  if (Enter(state, client, listenHandle) == 1) return 1;
  return net::SayFailure("SessionHost", about, 0, "no answer from the own hub");
}

int32_t SessionJoin(const RtString& host, int32_t port) {
  NetworkState& state = net::Session();
  ResetSession(state);
  if (port < 1) port = kDefaultPort;
  NetStart();
  std::string about = std::string(host.c_str()) + " port " + std::to_string(port & 0xFFFF);
  platform::HostAddress address;
  if (!net::ResolveHost(host.c_str(), static_cast<uint16_t>(port & 0xFFFF), false, address)) {
    return net::SayFailure("SessionJoin", about, GiveUp(-1));
  }
  int32_t client = net::ConnectTo(address, kConnectMs);
  if (client < 0) return net::SayFailure("SessionJoin", about, GiveUp(-1));
  if (Enter(state, client, -1) == 1) return 1;
  return net::SayFailure("SessionJoin", about, 0, "the host did not take this player");
}

int32_t SessionLeave() {
  NetworkState& state = net::Session();
  bool running;
  {
    StateLock lock(state);
    running = state.thread != 0;
  }
  StopThread(state, true);
  return running ? 1 : 0;
}

int32_t SessionActive() {
  NetworkState& state = net::Session();
  StateLock lock(state);
  return state.threadRunning ? 1 : 0;
}

int32_t SessionOwnId() {
  NetworkState& state = net::Session();
  StateLock lock(state);
  return state.ownId;
}

void SessionName(const RtString& name) {
  NetworkState& state = net::Session();
  StateLock lock(state);
  state.ownName = std::string(name.View().substr(0, net::kNameSize - 1));
}

int32_t SessionSend(int32_t playerId, const RtString& text) {
  NetworkState& state = net::Session();
  std::string about = "player " + std::to_string(playerId);
  if (text.Length() > net::kMaxPayload) {
    return net::SayFailure("SessionSend", about, 0, "a text over 1024 bytes");
  }
  if (playerId < 0 || playerId > net::kLastPlayerId) {
    return net::SayFailure("SessionSend", about, 0, "no such player id");
  }
  uint16_t own = OwnId(state);
  if (own == 0) return net::SayFailure("SessionSend", about, 0, "not in a session");
  if (!Queue(state,
             net::EncodeFrame(net::kText, own, static_cast<uint16_t>(playerId), text.View()))) {
    return net::SayFailure("SessionSend", about, 0, "1 MB already waits to go out");
  }
  return 1;
}

RtString SessionReceive(int32_t playerId, int32_t& senderId) {
  NetworkState& state = net::Session();
  senderId = 0;
  bool wasFull;
  RtString text;
  {
    StateLock lock(state);
    wasFull = state.messages.size() >= net::kMaxInbox;
    for (auto item = state.messages.begin(); item != state.messages.end(); ++item) {
      if (playerId != 0 && item->sender != playerId) continue;
      senderId = item->sender;
      text = RtString(item->text.data(), static_cast<uint32_t>(item->text.size()));
      state.messages.erase(item);
      break;
    }
  }
  if (wasFull) Wake(state);
  return text;
}

RtString SessionPlayers() {
  NetworkState& state = net::Session();
  net::Frame reply;
  if (!Request(state, net::EncodeFrame(net::kQuery, 0, 0, std::string(2, '\0')), reply)) {
    net::SayFailure("SessionPlayers", "", 0, "no answer from the host (or no session)");
    return RtString();
  }
  return JoinIds(reply.payload);
}

RtString SessionPlayerName(int32_t playerId) {
  NetworkState& state = net::Session();
  std::string about = "player " + std::to_string(playerId);
  if (playerId < 1 || playerId > net::kLastPlayerId) {
    net::SayFailure("SessionPlayerName", about, 0, "no such player id");
    return RtString();
  }
  std::string query = {static_cast<char>(playerId & 0xFF), static_cast<char>(playerId >> 8)};
  net::Frame reply;
  if (!Request(state, net::EncodeFrame(net::kQuery, 0, 0, query), reply)) {
    net::SayFailure("SessionPlayerName", about, 0, "no answer from the host (or no session)");
    return RtString();
  }
  std::string name = reply.payload.size() > 4 ? reply.payload.substr(4) : "";
  return RtString(name.c_str());
}

int32_t SessionDrop(int32_t playerId) {
  NetworkState& state = net::Session();
  std::string about = "player " + std::to_string(playerId);
  {
    StateLock lock(state);
    if (!state.hosting || state.ownId == 0) {
      return net::SayFailure("SessionDrop", about, 0, "only the hosting program drops players");
    }
    if (playerId == state.ownId) return net::SayFailure("SessionDrop", about, 0, "the host itself");
  }
  if (playerId < 1 || playerId > net::kLastPlayerId) {
    return net::SayFailure("SessionDrop", about, 0, "no such player id");
  }
  if (!Queue(state, net::EncodeFrame(net::kLeave, 0, static_cast<uint16_t>(playerId), {}))) {
    return net::SayFailure("SessionDrop", about, 0, "1 MB already waits to go out");
  }
  return 1;
}

void SessionAccept(int32_t flag) {
  NetworkState& state = net::Session();
  {
    StateLock lock(state);
    state.acceptFlag = flag != 0;
  }
  Wake(state);
}

RtString SessionDeparted() {
  NetworkState& state = net::Session();
  std::string ids;
  {
    StateLock lock(state);
    for (uint16_t id : state.departed) {
      ids.push_back(static_cast<char>(id & 0xFF));
      ids.push_back(static_cast<char>(id >> 8));
    }
    state.departed.clear();
  }
  return JoinIds(ids);
}

}  // namespace qrv
