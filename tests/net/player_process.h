// A net_player program run as a real process, asked one line at a time.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace net_test {

class Player {
 public:
  // runtime: the player runs as a runtime program (window hidden, its own TMPDIR).
  // verbose: it runs with QRV_VERBOSE=1, its standard error kept for Errors().
  explicit Player(bool runtime = false, bool verbose = false) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    if (runtime || verbose) {
      char pattern[] = "/tmp/qrv-net-player-XXXXXX";
      folder_ = mkdtemp(pattern);
    }
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      if (verbose) {
        setenv("QRV_VERBOSE", "1", 1);
        FILE* errors = std::fopen((folder_ + "/stderr.txt").c_str(), "w");
        if (errors != nullptr) dup2(fileno(errors), 2);
      }
      for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
      std::string program = QRV_BUILD_DIR "/tests/program_net_player";
      if (runtime) {
        setenv("TMPDIR", folder_.c_str(), 1);
        setenv("QRV_START_HIDDEN", "1", 1);
        execl(program.c_str(), program.c_str(), "--runtime", static_cast<char*>(nullptr));
      }
      execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
  }
  ~Player() {
    if (to_ >= 0) close(to_);
    if (pid_ > 0 && !Exited(2)) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (from_ >= 0) close(from_);
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  // Sends a command and gives the answer line ("" when none came within `seconds`).
  std::string Ask(const std::string& command, double seconds = 20) {
    std::string line = command + "\n";
    if (write(to_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
    return ReadLine(seconds);
  }

  std::string ReadLine(double seconds = 20) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (true) {
      size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                      deadline - std::chrono::steady_clock::now())
                      .count();
      pollfd entry{from_, POLLIN, 0};
      if (left <= 0 || poll(&entry, 1, static_cast<int>(left)) <= 0) return "";
      char chunk[4096];
      ssize_t n = read(from_, chunk, sizeof chunk);
      if (n <= 0) return "";
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  // True when the process ended within `seconds`; its exit code in *code.
  bool Exited(double seconds, int* code = nullptr) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        if (code != nullptr) *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
      }
      usleep(10000);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
  }

  const std::string& Folder() const { return folder_; }

  // What a verbose player wrote to its standard error so far.
  std::string Errors() const {
    std::string text;
    if (FILE* file = std::fopen((folder_ + "/stderr.txt").c_str(), "r")) {
      char chunk[4096];
      for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
      std::fclose(file);
    }
    return text;
  }

 private:
  pid_t pid_ = -1;
  int to_ = -1;
  int from_ = -1;
  std::string buffer_;
  std::string folder_;
};

// Asks until the answer is `expected` or the time is up; the last answer.
inline std::string AskUntil(Player& player, const std::string& command, const std::string& expected,
                            double seconds = 10) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::string answer;
  do {
    answer = player.Ask(command);
    if (answer == expected) break;
    usleep(20000);
  } while (std::chrono::steady_clock::now() < deadline);
  return answer;
}

}  // namespace net_test
