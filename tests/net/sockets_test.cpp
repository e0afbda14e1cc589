// Sockets on loopback: TCP and UDP between two handles, accepts and connects that must
// not wait, the connect time-out, the table limit and the users count.
#include <atomic>
#include <cstring>

#include "net/socket_io.h"
#include "net_fixture.h"

namespace net_test {
namespace {

using namespace qrv;

TEST_F(NetTest, TcpHandlesExchangeBytesBothWaysAndSeeTheClose) {
  int port = FreePort();
  int32_t listener = TcpListen(port);
  ASSERT_GE(listener, 0);

  int32_t peer = 0;
  // An accept that waited for a client would wait for ever: give it one if it does.
  std::atomic<int32_t> early{-3};
  std::thread accepting([&] { early = TcpAccept(listener, peer); });
  bool returned = Eventually([&] { return early != -3; });
  if (!returned) qrv::SocketClose(TcpConnect("127.0.0.1", port, 2000));
  accepting.join();
  EXPECT_TRUE(returned) << "the accept waited for a client";
  EXPECT_EQ(early, -1) << "no client waits yet";

  int32_t client = TcpConnect("127.0.0.1", port, 2000);
  ASSERT_GE(client, 0);
  int32_t server = -1;
  ASSERT_TRUE(Eventually([&] { return (server = TcpAccept(listener, peer)) >= 0; }));
  EXPECT_EQ(peer, 0x7F000001);

  RtString data;
  EXPECT_EQ(SocketReceive(server, data, 100), -2) << "nothing sent yet";
  EXPECT_EQ(NetLastError(), 10035);

  RtString binary("a\0b\xff", 4);
  EXPECT_EQ(SocketSend(client, binary), 4);
  ASSERT_EQ(ReceiveSoon(server, data, 100), 4);
  EXPECT_EQ(data.View(), binary.View());

  EXPECT_EQ(SocketSend(server, "reply"), 5);
  ASSERT_EQ(ReceiveSoon(client, data, 3), 3) << "size limits one receive";
  EXPECT_EQ(data.View(), "rep");
  ASSERT_EQ(ReceiveSoon(client, data, 100), 2);
  EXPECT_EQ(data.View(), "ly");

  EXPECT_EQ(SocketClose(client), 1);
  EXPECT_EQ(ReceiveSoon(server, data, 100), 0) << "the peer closed";
  EXPECT_TRUE(data.Empty());
  EXPECT_EQ(SocketReceive(client, data, 10), -1) << "a closed handle";
  EXPECT_EQ(SocketClose(server), 1);
  EXPECT_EQ(SocketClose(listener), 1);
  EXPECT_EQ(SocketClose(listener), 0);
}

TEST_F(NetTest, LargeSendToASlowReaderArrivesWhole) {
  int port = FreePort();
  int32_t listener = TcpListen(port);
  int32_t client = TcpConnect("localhost", port, 2000);
  ASSERT_GE(client, 0);
  int32_t peer, server = -1;
  ASSERT_TRUE(Eventually([&] { return (server = TcpAccept(listener, peer)) >= 0; }));

  // More than the host's queues hold. For its first 7 s the reader takes 16 KB every
  // 100 ms: the host's queue frees its room only slowly, yet the send makes progress all
  // the time and must not give up.
  std::string big(6 << 20, 0);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 4096);
  std::string received;
  std::thread reader([&] {
    RtString chunk;
    auto start = Clock::now();
    while (received.size() < big.size()) {
      bool slow = MillisecondsSince(start) < 7000;
      int32_t n = ReceiveSoon(server, chunk, slow ? 16384 : 65536);
      if (n <= 0) break;
      received.append(chunk.c_str(), n);
      if (slow) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  EXPECT_EQ(SocketSend(client, RtString(big.data(), big.size())), static_cast<int32_t>(big.size()));
  reader.join();
  EXPECT_TRUE(received == big);
  SocketClose(server);
  SocketClose(client);
  SocketClose(listener);
}

TEST_F(NetTest, IPv6LoopbackReachesTheListener) {
  int port = FreePort();
  int32_t listener = TcpListen(port);
  ASSERT_GE(listener, 0);
  int32_t client = TcpConnect("::1", port, 2000);
  ASSERT_GE(client, 0) << NetErrorText().c_str();
  int32_t peer = -5, server = -1;
  ASSERT_TRUE(Eventually([&] { return (server = TcpAccept(listener, peer)) >= 0; }));
  EXPECT_EQ(peer, 0) << "an IPv6 peer has no IPv4 address";
  EXPECT_EQ(SocketSend(client, "six"), 3);
  RtString data;
  EXPECT_EQ(ReceiveSoon(server, data, 10), 3);
  SocketClose(client);
  SocketClose(server);
  SocketClose(listener);
}

TEST_F(NetTest, UdpDatagramsTravelBetweenHandles) {
  int port = FreePort(true);
  int32_t bound = UdpOpen(port);
  int32_t unbound = UdpOpen(0);
  ASSERT_GE(bound, 0);
  ASSERT_GE(unbound, 0);
  EXPECT_EQ(UdpSend(unbound, "ping", 0x7F000001, port), 4);
  EXPECT_EQ(UdpSend(unbound, "pong!", 0x7F000001, port + 0x10000), 5) << "high bits ignored";
  RtString data;
  ASSERT_EQ(ReceiveSoon(bound, data, 100), 4);
  EXPECT_EQ(data.View(), "ping");
  ASSERT_EQ(ReceiveSoon(bound, data, 100), 5);
  EXPECT_EQ(data.View(), "pong!");

  EXPECT_EQ(UdpSend(unbound, "x", 0, 0), -1) << "no target";
  EXPECT_EQ(SocketSend(unbound, "x"), -1) << "a datagram needs a target";
  int32_t address = 0;
  EXPECT_EQ(TcpAccept(bound, address), -1);
  EXPECT_EQ(NetLastError(), 0) << "accept on a UDP entry";
  EXPECT_EQ(SocketReceive(bound, data, 0), -1);
  EXPECT_EQ(SocketClose(bound), 1);
  EXPECT_EQ(SocketClose(unbound), 1);
}

TEST_F(NetTest, ConnectToAClosedPortFailsFast) {
  auto start = Clock::now();
  EXPECT_EQ(TcpConnect("127.0.0.1", FreePort(), 20000), -1);
  EXPECT_LT(MillisecondsSince(start), 1000);
  EXPECT_EQ(NetLastError(), 10061);
  EXPECT_EQ(std::string(NetErrorText().c_str()).rfind("10061 ", 0), 0u);
}

TEST_F(NetTest, ConnectWithoutAnswerEndsAtItsClampedTimeOut) {
  EXPECT_EQ(net::ClampConnectTimeout(1), 1);
  EXPECT_EQ(net::ClampConnectTimeout(30000), 30000);
  EXPECT_EQ(net::ClampConnectTimeout(0), 30000);
  EXPECT_EQ(net::ClampConnectTimeout(-5), 30000);
  SilentPeer silent;
  struct {
    int32_t asked;
    double waits;
  } cases[] = {{300, 300}, {45000, 30000}};
  for (const auto& c : cases) {
    auto start = Clock::now();
    EXPECT_EQ(TcpConnect("127.0.0.1", silent.Port(), c.asked), -1);
    double waited = MillisecondsSince(start);
    EXPECT_GE(waited, c.waits - 10) << c.asked;
    EXPECT_LT(waited, c.waits + 2000) << c.asked;
    EXPECT_EQ(NetLastError(), 10036);
  }
}

TEST_F(NetTest, TableHoldsTenTwentyFourHandlesAndReusesTheLowest) {
  std::vector<int32_t> handles;
  for (int i = 0; i < 1024; ++i) {
    int32_t handle = UdpOpen(0);
    ASSERT_EQ(handle, i);
    handles.push_back(handle);
  }
  EXPECT_EQ(UdpOpen(0), -1);
  EXPECT_EQ(std::string(NetErrorText().c_str()).rfind("8 ", 0), 0u) << NetErrorText().c_str();
  EXPECT_EQ(TcpListen(FreePort()), -1);
  EXPECT_EQ(NetLastError(), 8);
  SocketClose(500);
  SocketClose(7);
  EXPECT_EQ(UdpOpen(0), 7);
  EXPECT_EQ(UdpOpen(0), 500);
  for (int32_t handle : handles) SocketClose(handle);
}

TEST(NetUsers, LastStopClosesEverySocketAndStartsClean) {
  ASSERT_EQ(NetStart(), 1);
  ASSERT_EQ(NetStart(), 1);
  int port = FreePort();
  int32_t listener = TcpListen(port);
  ASSERT_GE(listener, 0);
  NetStop();
  int32_t address;
  EXPECT_EQ(TcpAccept(listener, address), -1);
  EXPECT_NE(NetLastError(), 10038) << "one user is left: the handle lives";
  NetStop();
  EXPECT_EQ(TcpConnect("127.0.0.1", port, 500), -1) << "the listener is closed";
  EXPECT_EQ(UdpOpen(0), -1);
  EXPECT_EQ(NetLastError(), 10093) << "the network is not started";
  NetStop();  // an extra stop changes nothing
  ASSERT_EQ(NetStart(), 1);
  EXPECT_EQ(UdpOpen(0), 0) << "a fresh table";
  NetStop();
}

TEST_F(NetTest, NamesAndAddresses) {
  EXPECT_EQ(NetResolve("127.0.0.1"), 0x7F000001);
  EXPECT_EQ(NetResolve("localhost"), 0x7F000001);
  EXPECT_STREQ(NetAddressText(0x7F000001).c_str(), "127.0.0.1");
  EXPECT_STREQ(NetAddressText(-1).c_str(), "255.255.255.255");
  EXPECT_STREQ(NetAddressText(0x0A000102).c_str(), "10.0.1.2");

  std::string local = NetLocalAddresses().c_str();
  EXPECT_EQ(local.find("127."), std::string::npos);
  EXPECT_NE(local.back(), '|');
  std::string first = local.substr(0, local.find('|'));
  int32_t own = NetResolve("");
  EXPECT_STREQ(NetAddressText(own).c_str(), local.empty() ? "127.0.0.1" : first.c_str());
}

}  // namespace
}  // namespace net_test
