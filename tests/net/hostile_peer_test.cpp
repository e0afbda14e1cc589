// Peers written from the protocol page alone, against a hosting program and as a hub:
// oversized lengths, garbage, unknown types, half and dripped frames, players that never
// greet or never read, sudden disconnects (each dropped while a well-behaved player keeps
// talking to the host), one rule for long names, and late replies.
#include <chrono>
#include <random>
#include <thread>

#include "net/session_frame.h"
#include "net_fixture.h"
#include "player_process.h"

namespace net_test {
namespace {

using qrv::net::EncodeFrame;
using qrv::net::EncodeRecord;

// A raw loopback connection to the host.
class RawPeer {
 public:
  // A connection a scripted hub accepted.
  static RawPeer Accepted(RawSocket fd) {
    RawPeer peer;
    peer.fd_ = fd;
    peer.connected_ = fd >= 0;
    return peer;
  }
  RawPeer(RawPeer&& other) noexcept : fd_(other.fd_), connected_(other.connected_) {
    other.fd_ = -1;
  }
  RawPeer(int port, int receiveBuffer = 0)
      : fd_(test_host::RawConnect(port, receiveBuffer)), connected_(fd_ >= 0) {}
  ~RawPeer() { Close(); }
  bool Connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return test_host::RawSend(fd_, bytes);
  }
  // Registers with a record; the id the host gave, 0 on failure.
  int Register(const std::string& record = EncodeRecord(0xFFFE, 1, "raw")) {
    if (!Send(EncodeFrame(1, 0xFFFE, 0, record))) return 0;
    std::string answer = Read(155, 5);
    if (answer.size() != 155) return 0;
    return static_cast<uint8_t>(answer[5]) | static_cast<uint8_t>(answer[6]) << 8;
  }
  // Registers and greets like a real player; the id the host gave, 0 on failure.
  int Join() {
    int id = Register();
    if (id != 0) Send(EncodeFrame(104, 0, static_cast<uint16_t>(id), {}));
    return id;
  }
  std::string Read(size_t count, double seconds) {
    std::string bytes;
    auto start = Clock::now();
    while (bytes.size() < count && MillisecondsSince(start) < seconds * 1000) {
      char chunk[4096];
      long n = test_host::RawReceive(fd_, chunk, std::min(sizeof chunk, count - bytes.size()), 0.05);
      if (n == -2) continue;
      if (n <= 0) break;
      bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
  }
  // True when the host closed the connection within `seconds` (whatever it sent before).
  bool ClosedByHost(double seconds) {
    auto start = Clock::now();
    while (MillisecondsSince(start) < seconds * 1000) {
      char chunk[65536];
      long n = test_host::RawReceive(fd_, chunk, sizeof chunk, 0.05);
      if (n != -2 && n <= 0) return true;
    }
    return false;
  }
  void Close() {
    test_host::RawClose(fd_);
    fd_ = -1;
  }

 private:
  RawPeer() = default;

  RawSocket fd_ = -1;
  bool connected_ = false;
};

// One whole frame as it came; type -1 when none came within the time.
struct RawFrame {
  int type = -1;
  int first = 0;
  int second = 0;
  std::string payload;
};

int U16(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8;
}

RawFrame ReadFrame(RawPeer& peer, double seconds = 10) {
  RawFrame frame;
  std::string header = peer.Read(7, seconds);
  if (header.size() != 7) return frame;
  frame.payload = peer.Read(static_cast<size_t>(U16(header, 1)), seconds);
  frame.type = static_cast<uint8_t>(header[0]);
  frame.first = U16(header, 3);
  frame.second = U16(header, 5);
  return frame;
}

// The next frame of a type, skipping others.
RawFrame NextOfType(RawPeer& peer, int type) {
  RawFrame frame;
  do {
    frame = ReadFrame(peer);
  } while (frame.type != -1 && frame.type != type);
  return frame;
}

std::string Ids(std::initializer_list<uint16_t> ids) {
  std::string bytes;
  for (uint16_t id : ids) bytes += {static_cast<char>(id & 0xFF), static_cast<char>(id >> 8)};
  return bytes;
}

TEST(HostilePeer, HostDropsRuleBreakersAndKeepsServingAPlayer) {
  int port = FreePort();
  Player host, good;
  ASSERT_EQ(host.Ask("host " + std::to_string(port) + " h"), "ok 101");
  ASSERT_EQ(good.Ask("join " + std::to_string(port) + " good"), "ok 102");
  int exchanges = 0;
  auto stillServed = [&] {
    std::string text = "still " + std::to_string(++exchanges);
    return good.Ask("send 101 " + text) == "sent 1" && host.Ask("recv 102") == "text 102 " + text;
  };

  std::mt19937 random(14);
  std::string garbage(3000, 0);
  for (char& c : garbage) c = static_cast<char>(random());
  garbage[0] = 9;  // no such frame type
  std::string oversized = EncodeFrame(3, 0, 0, "x");
  oversized[1] = 0x01;
  oversized[2] = 0x20;  // 8193 bytes announced
  struct Attack {
    const char* what;
    bool joinFirst;
    std::string bytes;
  } attacks[] = {
      {"oversized length before registering", false, oversized},
      {"oversized length after joining", true, oversized},
      {"random bytes", false, garbage},
      {"a frame only the host sends", true, EncodeFrame(103, 0, 0, "")},
      {"a second registration", true, EncodeFrame(1, 0, 0, EncodeRecord(0xFFFE, 0, "again"))},
      {"a query of the wrong size", true, EncodeFrame(102, 0, 0, "123")},
  };
  for (const Attack& attack : attacks) {
    RawPeer peer(port);
    ASSERT_TRUE(peer.Connected());
    if (attack.joinFirst) {
      ASSERT_GT(peer.Join(), 0) << attack.what;
    }
    peer.Send(attack.bytes);
    EXPECT_TRUE(peer.ClosedByHost(3)) << attack.what;
    EXPECT_TRUE(stillServed()) << attack.what;
  }

  {
    RawPeer halfFrame(port);
    ASSERT_GT(halfFrame.Join(), 0);
    halfFrame.Send(EncodeFrame(3, 0, 0, "cut short").substr(0, 10));
    EXPECT_TRUE(stillServed()) << "served while the half frame waits";
    EXPECT_TRUE(halfFrame.ClosedByHost(6)) << "a half frame that never ends";
  }
  {
    RawPeer dripping(port);
    ASSERT_GT(dripping.Join(), 0);
    std::string frame = EncodeFrame(3, 0, 0, std::string(20, 'd'));
    size_t sentBytes = 0;
    bool closed = false;
    while (sentBytes < frame.size() && !closed) {
      dripping.Send(frame.substr(sentBytes++, 1));
      closed = dripping.ClosedByHost(0.5);
    }
    EXPECT_TRUE(closed) << "a frame dripped a byte every half second never ends in 3 s";
    EXPECT_TRUE(stillServed());
  }
  {
    RawPeer silent(port);
    EXPECT_TRUE(silent.ClosedByHost(8)) << "connected but never registered";
  }
  {
    RawPeer ungreeted(port);
    ASSERT_GT(ungreeted.Register(), 0);
    EXPECT_TRUE(ungreeted.ClosedByHost(8)) << "registered but never greeted";
  }
  {
    RawPeer vanishing(port);
    ASSERT_GT(vanishing.Join(), 0);
    vanishing.Send(EncodeFrame(3, 0, 0, "abc").substr(0, 5));
    vanishing.Close();
    EXPECT_TRUE(stillServed()) << "a sudden disconnect mid-frame";
  }
  host.Ask("departed 0");  // forget the departures so far

  RawPeer sleeper(port, 4096);
  int sleeperId = sleeper.Join();
  ASSERT_GT(sleeperId, 0);
  std::string block(1000, 'z');
  // The sleeper goes for 256 KB unread or for 3 s without taking anything. While the host
  // takes no texts either, the hub's flow control may hold the backlog below 256 KB, so the
  // rounds go on until the stall rule has had its time, however fast they run.
  bool dropped = false;
  int sent = 0;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!dropped && std::chrono::steady_clock::now() < giveUp) {
    for (int i = 0; i < 20; ++i) sent += good.Ask("send 0 " + block) == "sent 1";
    std::string departed = host.Ask("departed 0");
    dropped = departed.find(std::to_string(sleeperId)) != std::string::npos;
    if (!dropped) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(dropped) << "a player that never reads is dropped";
  EXPECT_EQ(host.Ask("drain 102 " + std::to_string(sent)), "got " + std::to_string(sent));
  EXPECT_TRUE(stillServed());
  EXPECT_TRUE(sleeper.ClosedByHost(5));
}

TEST(HostilePeer, ANameOfAFullRecordIsCutTheSameWayEverywhere) {
  int port = FreePort();
  Player host;
  ASSERT_EQ(host.Ask("host " + std::to_string(port) + " h"), "ok 101");
  RawPeer watcher(port);
  ASSERT_GT(watcher.Join(), 0);
  // 144 name bytes and no zero byte among them.
  std::string record = std::string("\xFE\xFF\0\0", 4) + std::string(144, 'n');
  const std::string kKept(143, 'n');
  RawPeer longName(port);
  ASSERT_TRUE(longName.Send(EncodeFrame(1, 0xFFFE, 0, record)));
  RawFrame registered = ReadFrame(longName);
  ASSERT_EQ(registered.type, 1);
  ASSERT_EQ(registered.payload.size(), 148u);
  EXPECT_EQ(registered.payload.substr(4, 144), kKept + '\0') << "the registration's answer";
  uint16_t id = static_cast<uint16_t>(registered.second);
  longName.Send(EncodeFrame(104, 0, id, {}));

  RawFrame joined = NextOfType(watcher, 101);
  EXPECT_EQ(joined.first, id);
  EXPECT_EQ(joined.payload, kKept) << "the joined notice";
  watcher.Send(EncodeFrame(102, 0, 0, Ids({id})));
  RawFrame reply = NextOfType(watcher, 103);
  EXPECT_EQ(reply.payload, Ids({id, 0}) + kKept) << "the query's answer";
  EXPECT_EQ(host.Ask("name " + std::to_string(id)), "name " + kKept);
}

// A hub that answers one query only after the next one came: the player gives up on the
// first, and the late answer must not pass for the second's.
TEST(HostilePeer, ALateReplyIsNeverTakenForALaterRequest) {
  int hubPort = 0;
  RawSocket listener = test_host::RawListener(1, &hubPort);
  std::vector<int> asked;  // the query payloads the hub saw, as player ids
  std::thread script([&] {
    RawPeer hub = RawPeer::Accepted(test_host::RawAccept(listener, 20));
    if (ReadFrame(hub).type != 1) return;
    hub.Send(EncodeFrame(1, 0, 102, EncodeRecord(102, 0, "p")));
    if (ReadFrame(hub).type != 104) return;
    hub.Send(EncodeFrame(103, 0, 102, Ids({101, 102})));
    for (int query = 0; query < 3; ++query) {
      RawFrame frame = ReadFrame(hub, 20);
      if (frame.type != 102) return;
      asked.push_back(U16(frame.payload, 0));
      if (query == 1) hub.Send(EncodeFrame(103, 0, 102, Ids({101, 102, 103})));  // late
      if (query == 1) hub.Send(EncodeFrame(103, 0, 102, Ids({101, 1}) + "anna"));
      if (query == 2) hub.Send(EncodeFrame(103, 0, 102, Ids({101, 102})));
    }
    hub.ClosedByHost(20);  // until the player leaves
  });
  Player player;
  EXPECT_EQ(player.Ask("join " + std::to_string(hubPort) + " p"), "ok 102");
  EXPECT_EQ(player.Ask("players"), "players ") << "no answer within 5 s";
  EXPECT_EQ(player.Ask("name 101"), "name anna");
  EXPECT_EQ(player.Ask("players"), "players 101|102");
  EXPECT_EQ(player.Ask("leave"), "leave 1");
  script.join();
  test_host::RawClose(listener);
  EXPECT_EQ(asked, (std::vector<int>{0, 101, 0}));
}

}  // namespace
}  // namespace net_test
