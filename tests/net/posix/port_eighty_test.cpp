// Port 0 of an HTTP download means port 80, checked in a network namespace of the test's own.
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "net/net_fixture.h"

namespace net_test {
namespace {

using namespace qrv;

// Switches the loopback interface of the process's network on.
bool LoopbackUp() {
  int s = socket(AF_INET, SOCK_DGRAM, 0);
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool up = ioctl(s, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
  up = up && ioctl(s, SIOCSIFFLAGS, &request) == 0;
  close(s);
  return up;
}

// Port 0 means 80: a server on port 80 of a network of the test's own (a new network
// namespace with only its loopback), so nothing on this machine can hold the port.
TEST(Http, PortZeroMeansEighty) {
  pid_t child = fork();
  if (child == 0) {
    bool alone = unshare(CLONE_NEWNET) == 0 || unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0;
    if (!alone || !LoopbackUp()) _exit(77);
    NetStart();
    int32_t listener = TcpListen(80);
    if (listener < 0) _exit(78);
    // The server is a process of its own too: no thread starts after a fork.
    pid_t server = fork();
    if (server == 0) {
      int32_t peer, connection = -1;
      Eventually([&] { return (connection = TcpAccept(listener, peer)) >= 0; });
      RtString request;
      ReceiveSoon(connection, request, 1000);
      SocketSend(connection, "HTTP/1.0 200 OK\r\n\r\neighty");
      SocketClose(connection);
      _exit(0);
    }
    bool fetched = std::string(HttpGetString("127.0.0.1", "/", 0, 100, 5000).c_str()) == "eighty";
    waitpid(server, nullptr, 0);
    _exit(fetched ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) {
    GTEST_SKIP() << "no network namespace of its own can be made here (unshare refused)";
  }
  EXPECT_NE(WEXITSTATUS(status), 78) << "port 80 could not be had in a namespace of its own";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "port 0 did not reach the server on port 80";
}

}  // namespace
}  // namespace net_test
