// Helpers of the network tests: free loopback ports, a silent peer, polling waits.
// Every address used here is on loopback.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "quorvia/net.h"
#include "support/host.h"

namespace net_test {

using test_host::FreePort;
using test_host::RawSocket;

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

// A loopback listener that never accepts, its accept queue filled: the host drops every
// further connection request, so a connect to it gets no answer at all.
class SilentPeer {
 public:
  SilentPeer() {
    listener_ = test_host::RawListener(0, &port_);
    // Connections complete while the queue has room; stop at the first one that hangs.
    for (int i = 0; i < 8; ++i) {
      int32_t handle = qrv::TcpConnect("127.0.0.1", port_, 200);
      if (handle < 0) break;
      fillers_.push_back(handle);
    }
  }
  ~SilentPeer() {
    for (int32_t handle : fillers_) qrv::SocketClose(handle);
    test_host::RawClose(listener_);
  }
  int Port() const { return port_; }

 private:
  RawSocket listener_ = -1;
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

// A server program of the machine started for one test (by its shell, so on every host), on
// loopback at a free port it reports on its standard output; stopped when the test ends.
class ServerProcess {
 public:
  // `command` is a shell command; `portWord` is the word before the port number in the
  // server's first lines of output.
  ServerProcess(const std::string& command, const std::string& portWord) {
    const std::string output = folder_.Path() + "/output";
    pid_ = test_host::Shell(command + " >'" + output + "' 2>/dev/null </dev/null & echo $!");
    Eventually(
        [&] {
          std::ifstream in(output);
          for (std::string line; port_ == 0 && std::getline(in, line);) {
            size_t at = line.find(portWord + " ");
            if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + portWord.size() + 1);
          }
          return port_ != 0;
        },
        10);
  }
  ~ServerProcess() {
    if (!pid_.empty()) test_host::Shell("kill " + pid_ + "; while kill -0 " + pid_ +
                                        " 2>/dev/null; do sleep 0.01; done");
  }
  // 0 when the server did not come up.
  int Port() const { return port_; }

 private:
  test_host::ScratchFolder folder_{"qrv-server"};
  std::string pid_;
  int port_ = 0;
};

// The python test server of this folder (on ::1 with `six`).
inline std::string TestServerCommand(bool six = false) {
  return std::string("python3 -u '" QRV_SOURCE_DIR "/tests/net/http_test_server.py'") +
         (six ? " six" : "");
}

// The bytes the test server's /bytes/N path sends: 1..255, never a zero byte.
inline std::string ServerPattern(size_t n) {
  std::string bytes(n, 0);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 4096) % 255 + 1);
  return bytes;
}

}  // namespace net_test
