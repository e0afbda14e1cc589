// Runs a runtime program as a real process for the frame's tests: a fresh temporary
// folder (so a fresh error log) per run, extra environment, a time limit, and helpers
// to read the log and to drive the program's window with the X tools.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "frame/scratch.h"

namespace frame_test {

inline std::string ProgramPath(const std::string& name) {
  return std::string(QRV_BUILD_DIR "/tests/program_") + name;
}

inline std::string GamePath() {
  return QRV_BUILD_DIR "/game/skipdale2";
}

// Output of a shell command, without the trailing line break.
inline std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
  }
  while (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

// A private X display for one test, so that focus and windows of programs that other
// tests run at the same time cannot interfere.
class VirtualDisplay {
 public:
  // serverArgs go to the X server after the usual ones (e.g. a font path).
  explicit VirtualDisplay(std::vector<std::string> serverArgs = {})
      : serverArgs_(std::move(serverArgs)) {
    Start();
  }
  ~VirtualDisplay() { Stop(); }
  // ":N", or empty when no display could be started.
  const std::string& Name() const { return name_; }
  // Runs an X tool against this display; its output without the final line break.
  std::string Tool(const std::string& command) const {
    return Shell("DISPLAY=" + name_ + " " + command + " 2>/dev/null");
  }

 private:
  // Starts Xvfb on a number the server itself finds free (no race with servers that other
  // tests start at the same moment) and waits until it says it accepts connections.
  void Start() {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      freopen("/dev/null", "w", stderr);
      close(pipeEnds[0]);
      std::vector<std::string> args = {"Xvfb",      "-displayfd", std::to_string(pipeEnds[1]),
                                       "-screen",   "0",          "1024x768x24",
                                       "-nolisten", "tcp",        "-ardelay",
                                       "10000",     "-noreset"};
      args.insert(args.end(), serverArgs_.begin(), serverArgs_.end());
      std::vector<char*> raw;
      for (std::string& arg : args) raw.push_back(arg.data());
      raw.push_back(nullptr);
      execvp(raw[0], raw.data());
      _exit(127);
    }
    close(pipeEnds[1]);
    // The server writes its number once it listens; end of file means it gave up.
    std::string number;
    pollfd ready = {pipeEnds[0], POLLIN, 0};
    char c = 0;
    while (number.find('\n') == std::string::npos && poll(&ready, 1, 60000) == 1 &&
           read(pipeEnds[0], &c, 1) == 1) {
      number += c;
    }
    close(pipeEnds[0]);
    if (number.size() > 1 && number.back() == '\n') {
      number.pop_back();
      name_ = ":" + number;
    }
    // Ready only once a client gets through: a loaded machine has been seen to refuse the
    // first program's connection. Without -noreset every probe's goodbye would reset the
    // server, which opens the same gap again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!name_.empty() &&
           Shell("DISPLAY=" + name_ + " xdpyinfo >/dev/null 2>&1; echo $?") != "0") {
      if (std::chrono::steady_clock::now() > deadline) name_.clear();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (name_.empty()) Stop();
  }
  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

  std::vector<std::string> serverArgs_;
  pid_t pid_ = -1;
  std::string name_;
};

// One run of a program in its own fresh temporary folder.
class ProgramRun {
 public:
  // `prepare` may put files into the fresh folder before the program starts.
  ProgramRun(const std::string& program, std::vector<std::string> args,
             std::vector<std::pair<std::string, std::string>> env = {},
             const std::function<void(const std::string&)>& prepare = {}) {
    char pattern[] = "/tmp/qrv-frame-XXXXXX";
    folder_ = mkdtemp(pattern);
    if (prepare) prepare(folder_);
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ == 0) {
      // The start-up folder too, so that files a test plants there stay its own.
      if (chdir(folder_.c_str()) != 0) _exit(126);
      setenv("TMPDIR", folder_.c_str(), 1);
      for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
      std::vector<char*> raw;
      for (std::string& arg : argv) raw.push_back(arg.data());
      raw.push_back(nullptr);
      execv(raw[0], raw.data());
      _exit(127);
    }
  }
  ~ProgramRun() {
    if (pid_ > 0 && !finished_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    std::system(("rm -rf '" + folder_ + "'").c_str());
  }

  // Exit code, or -1 when it did not end normally within the limit (then it is killed).
  int Wait(double seconds = 30) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        finished_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  void Signal(int signal) { kill(pid_, signal); }

  std::vector<std::string> LogLines() const {
    std::ifstream in(folder_ + "/ErrorLog.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines;
    std::string all = text.str();
    for (size_t start = 0, end; (end = all.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(all.substr(start, end - start));
    }
    return lines;
  }

  // The number of presents the probe program has written, or -1.
  long Presents() const {
    std::ifstream in(folder_ + "/presents");
    long count = -1;
    in >> count;
    return count;
  }

  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
  pid_t pid_ = -1;
  bool finished_ = false;
};

// Polls a condition for up to `seconds`.
template <class Condition>
bool Eventually(Condition condition, double seconds = 10) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// The renderer is a software rasteriser: then start-up logs its warning line. A display
// busy with other programs now and then leaves glxinfo without an answer: no answer is
// asked again, never read as "not software".
inline bool SoftwareRenderer() {
  std::string renderer;
  for (int attempt = 0; attempt < 5 && renderer.empty(); ++attempt) {
    renderer = Shell("glxinfo -B 2>/dev/null | grep -i 'renderer string'");
  }
  for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"}) {
    if (renderer.find(name) != std::string::npos) return true;
  }
  return false;
}

// The log a run leaves: the given lines, with the software-renderer warning after
// "Init GFX" when this display renders in software.
inline std::vector<std::string> ExpectedLog(std::vector<std::string> lines) {
  if (SoftwareRenderer() && lines.size() > 1 && lines[1] == "Init Finalized") {
    lines.insert(lines.begin() + 1, "*** OpenGL Software Emulation - update driver!");
  }
  return lines;
}

}  // namespace frame_test
