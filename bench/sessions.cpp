// Session and HTTP throughput on loopback.
//
// 1. One hosting process and 16 joined processes: every joined player sends numbered,
//    time-stamped texts to the host for 10 s (1000 a second each). The host counts
//    messages per second, the p99 delivery latency, and texts lost or out of order per
//    sender (both must be 0).
// 2. HttpGetFile of a 100 MB body against curl, both from the same local server.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "support/host.h"
#include "quorvia/net.h"

using test_host::FreePort;

using namespace qrv;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPlayers = 16;
constexpr double kSeconds = 10;
constexpr int kRatePerPlayer = 1000;

int64_t NowMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
      .count();
}

// A joined player: sends texts "seq stamp" to the host, then "end count".
int RunSender(int port) {
  auto give_up = Clock::now() + std::chrono::seconds(10);
  while (!SessionJoin("127.0.0.1", port)) {
    if (Clock::now() > give_up) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  auto start = Clock::now();
  auto end = start + std::chrono::duration<double>(kSeconds);
  int64_t sent = 0;
  while (Clock::now() < end) {
    auto due = start + std::chrono::microseconds(sent * 1000000 / kRatePerPlayer);
    if (Clock::now() < due) {
      std::this_thread::sleep_until(due);
      continue;
    }
    std::string text = std::to_string(sent) + " " + std::to_string(NowMicroseconds());
    if (SessionSend(101, text.c_str())) ++sent;
  }
  SessionSend(101, ("end " + std::to_string(sent)).c_str());
  std::this_thread::sleep_for(std::chrono::seconds(2));
  SessionLeave();
  return 0;
}

struct SenderCount {
  int64_t next = 0;  // the sequence number expected next
  int64_t received = 0;
  int64_t reordered = 0;
  int64_t declared = -1;
};

// The host: receives until every sender declared its count (or 40 s pass), then reports.
int RunHost(int port, int readyPipe) {
  if (!SessionHost(port)) return 1;
  [[maybe_unused]] ssize_t n = write(readyPipe, "r", 1);
  std::map<int32_t, SenderCount> senders;
  std::vector<int64_t> latencies;
  latencies.reserve(kPlayers * kRatePerPlayer * 12);
  int ended = 0;
  auto deadline = Clock::now() + std::chrono::seconds(40);
  Clock::time_point first{}, last{};
  while (ended < kPlayers && Clock::now() < deadline) {
    int32_t sender = 0;
    RtString text = SessionReceive(0, sender);
    if (sender == 0) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    SenderCount& count = senders[sender];
    if (text.View().substr(0, 4) == "end ") {
      count.declared = std::atoll(text.c_str() + 4);
      ++ended;
      continue;
    }
    int64_t seq = 0, stamp = 0;
    std::sscanf(text.c_str(), "%lld %lld", reinterpret_cast<long long*>(&seq),
                reinterpret_cast<long long*>(&stamp));
    latencies.push_back(NowMicroseconds() - stamp);
    if (count.received == 0 && first == Clock::time_point{}) first = Clock::now();
    last = Clock::now();
    if (seq != count.next) ++count.reordered;
    count.next = seq + 1;
    ++count.received;
  }
  int64_t received = 0, lost = 0, reordered = 0;
  for (auto& [id, count] : senders) {
    received += count.received;
    reordered += count.reordered;
    lost += count.declared < 0 ? 0 : count.declared - count.received;
  }
  std::sort(latencies.begin(), latencies.end());
  double seconds = std::chrono::duration<double>(last - first).count();
  auto percentile = [&](double p) {
    return latencies.empty() ? 0.0
                             : latencies[static_cast<size_t>(p * (latencies.size() - 1))] / 1000.0;
  };
  std::printf("sessions: %d senders reporting of %d, %lld texts in %.2f s = %.0f texts/s\n", ended,
              kPlayers, static_cast<long long>(received), seconds,
              seconds > 0 ? received / seconds : 0.0);
  std::printf("sessions: latency p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", percentile(0.5),
              percentile(0.99), percentile(1.0));
  std::printf("sessions: lost %lld, out of order %lld\n", static_cast<long long>(lost),
              static_cast<long long>(reordered));
  std::fflush(stdout);
  SessionLeave();
  return ended == kPlayers && lost == 0 && reordered == 0 ? 0 : 2;
}

int SessionBench() {
  int port = FreePort();
  int ready[2];
  if (pipe(ready) != 0) return 1;
  pid_t host = fork();
  if (host == 0) _exit(RunHost(port, ready[1]));
  char byte;
  if (read(ready[0], &byte, 1) != 1) return 1;
  std::vector<pid_t> players;
  for (int i = 0; i < kPlayers; ++i) {
    pid_t pid = fork();
    if (pid == 0) _exit(RunSender(port));
    players.push_back(pid);
  }
  int failures = 0;
  for (pid_t pid : players) {
    int status = 0;
    waitpid(pid, &status, 0);
    failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int status = 0;
  waitpid(host, &status, 0);
  close(ready[0]);
  close(ready[1]);
  return failures == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

// A static file server started for the HTTP part; its port, or 0.
pid_t StartServer(const std::string& folder, int port) {
  pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    std::string portText = std::to_string(port);
    execlp("python3", "python3", "-m", "http.server", portText.c_str(), "--bind", "127.0.0.1",
           "--directory", folder.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int HttpBench() {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("qrv-bench-http-" + std::to_string(getpid()));
  fs::create_directories(folder / "site");
  {
    std::ofstream out(folder / "site" / "body.bin", std::ios::binary);
    std::string block(1 << 20, 0);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31 + 7);
    for (int i = 0; i < 100; ++i) out << block;
  }
  int port = FreePort();
  pid_t server = StartServer((folder / "site").string(), port);
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    up = !HttpGetString("127.0.0.1", "/", port, 10, 1000).Empty();
  }
  int result = 1;
  if (up) {
    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/body.bin";
    std::string ours = (folder / "ours.bin").string(), theirs = (folder / "curl.bin").string();
    auto start = Clock::now();
    int32_t ok = HttpGetFile("127.0.0.1", "/body.bin", port, ours.c_str(), 10000);
    double ourTime = Seconds(start);
    start = Clock::now();
    int curl = std::system(("curl -s -o '" + theirs + "' '" + url + "'").c_str());
    double curlTime = Seconds(start);
    bool same = ok && curl == 0 &&
                fs::file_size(ours) == fs::file_size(folder / "site" / "body.bin") &&
                fs::file_size(theirs) == fs::file_size(ours);
    std::printf("http: HttpGetFile 100 MB %.3f s (%.0f MB/s), curl %.3f s: ratio %.2f%s\n", ourTime,
                100 / ourTime, curlTime, ourTime / curlTime, same ? "" : " (transfer FAILED)");
    result = same ? 0 : 1;
  } else {
    std::printf("http: the local server did not start\n");
  }
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  fs::remove_all(folder);
  return result;
}

}  // namespace

int main() {
  int sessions = SessionBench();
  int http = HttpBench();
  return sessions == 0 && http == 0 ? 0 : 1;
}
