// A hostile peer against a hosting program: oversized lengths, garbage, unknown types,
// half frames, a peer that never reads and sudden disconnects. Each is dropped with its
// connection while a well-behaved player keeps talking to the host.
#include <fcntl.h>
#include <poll.h>

#include <random>

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
  RawPeer(int port, int receiveBuffer = 0) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0)
      setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawPeer() { Close(); }
  bool Connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }
  // Registers and greets like a real player; the id the host gave, 0 on failure.
  int Join() {
    if (!Send(EncodeFrame(1, 0xFFFE, 0, EncodeRecord(0xFFFE, 1, "raw")))) return 0;
    std::string answer = Read(155, 5);
    if (answer.size() != 155) return 0;
    int id = static_cast<uint8_t>(answer[5]) | static_cast<uint8_t>(answer[6]) << 8;
    Send(EncodeFrame(104, 0, static_cast<uint16_t>(id), {}));
    return id;
  }
  std::string Read(size_t count, double seconds) {
    std::string bytes;
    auto start = Clock::now();
    while (bytes.size() < count && MillisecondsSince(start) < seconds * 1000) {
      pollfd entry{fd_, POLLIN, 0};
      if (poll(&entry, 1, 50) <= 0) continue;
      char chunk[4096];
      ssize_t n = recv(fd_, chunk, std::min(sizeof chunk, count - bytes.size()), 0);
      if (n <= 0) break;
      bytes.append(chunk, static_cast<size_t>(n));
    }
    return bytes;
  }
  // True when the host closed the connection within `seconds` (whatever it sent before).
  bool ClosedByHost(double seconds) {
    auto start = Clock::now();
    while (MillisecondsSince(start) < seconds * 1000) {
      pollfd entry{fd_, POLLIN, 0};
      if (poll(&entry, 1, 50) <= 0) continue;
      char chunk[65536];
      if (recv(fd_, chunk, sizeof chunk, 0) <= 0) return true;
    }
    return false;
  }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

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
    RawPeer silent(port);
    EXPECT_TRUE(silent.ClosedByHost(8)) << "connected but never registered";
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
  bool dropped = false;
  int sent = 0;
  for (int round = 0; round < 60 && !dropped; ++round) {
    for (int i = 0; i < 20; ++i) sent += good.Ask("send 0 " + block) == "sent 1";
    std::string departed = host.Ask("departed 0");
    dropped = departed.find(std::to_string(sleeperId)) != std::string::npos;
  }
  EXPECT_TRUE(dropped) << "a player that never reads is dropped";
  EXPECT_EQ(host.Ask("drain 102 " + std::to_string(sent)), "got " + std::to_string(sent));
  EXPECT_TRUE(stillServed());
  EXPECT_TRUE(sleeper.ClosedByHost(5));
}

}  // namespace
}  // namespace net_test
