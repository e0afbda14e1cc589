// Helpers of the network tests: free loopback ports, a silent peer, polling waits.
// Every address used here is on loopback.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "free_port.h"
#include "quorvia/net.h"

namespace net_test {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Polls a condition every millisecond for up to `seconds`.
template <class Condition>
bool Eventually(Condition condition, double seconds = 5) {
  auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return condition();
}

// Receives until something arrives (or the peer closes) within `seconds`.
inline int32_t ReceiveSoon(int32_t handle, qrv::RtString& data, int32_t size, double seconds = 5) {
  int32_t n = -2;
  Eventually([&] { return (n = qrv::SocketReceive(handle, data, size)) != -2; }, seconds);
  return n;
}

// A raw listening socket on loopback at a port the host picks (stored in `port`).
inline int LoopbackListener(int backlog, int& port) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, backlog);
  socklen_t length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return listener;
}

// A loopback listener that never accepts, its accept queue filled: the host drops every
// further connection request, so a connect to it gets no answer at all.
class SilentPeer {
 public:
  SilentPeer() {
    listener_ = LoopbackListener(0, port_);
    // Connections complete while the queue has room; stop at the first one that hangs.
    for (int i = 0; i < 8; ++i) {
      int32_t handle = qrv::TcpConnect("127.0.0.1", port_, 200);
      if (handle < 0) break;
      fillers_.push_back(handle);
    }
  }
  ~SilentPeer() {
    for (int32_t handle : fillers_) qrv::SocketClose(handle);
    close(listener_);
  }
  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int32_t> fillers_;
};

// Starts the network for one test and undoes it after.
class NetTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(qrv::NetStart(), 1); }
  void TearDown() override { qrv::NetStop(); }
};

}  // namespace net_test

namespace net_test {

// A server program started for one test, on loopback at a free port it reports on its
// standard output; stopped (and waited for) when the test ends.
class ServerProcess {
 public:
  // argv[0] is looked up on the PATH; `portWord` is the word before the port number in
  // the server's first lines of output.
  ServerProcess(std::vector<std::string> argv, const std::string& portWord) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      close(out[0]);
      close(out[1]);
      std::vector<char*> raw;
      for (std::string& arg : argv) raw.push_back(arg.data());
      raw.push_back(nullptr);
      execvp(raw[0], raw.data());
      _exit(127);
    }
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[512];
    for (int i = 0; i < 5 && port_ == 0 && std::fgets(line, sizeof line, lines) != nullptr; ++i) {
      std::string text = line;
      size_t at = text.find(portWord + " ");
      if (at != std::string::npos) port_ = std::atoi(text.c_str() + at + portWord.size() + 1);
    }
    output_ = lines;
  }
  ~ServerProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (output_ != nullptr) std::fclose(output_);
  }
  // 0 when the server did not come up.
  int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  FILE* output_ = nullptr;
};

// The python test server of this folder (on ::1 with `six`).
inline std::vector<std::string> TestServerCommand(bool six = false) {
  std::vector<std::string> command = {"python3", "-u",
                                      QRV_SOURCE_DIR "/tests/net/http_test_server.py"};
  if (six) command.push_back("six");
  return command;
}

// The bytes the test server's /bytes/N path sends: 1..255, never a zero byte.
inline std::string ServerPattern(size_t n) {
  std::string bytes(n, 0);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 4096) % 255 + 1);
  return bytes;
}

}  // namespace net_test
