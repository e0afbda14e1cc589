// Runs a runtime program as a real process for the frame's tests: a fresh temporary
// folder (so a fresh error log) per run, extra environment, a time limit, and helpers
// to read the log and to drive the program's window with the X tools.
#pragma once

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "frame/scratch.h"
#include "support/host.h"

namespace frame_test {

inline std::string ProgramPath(const std::string& name) {
  return test_host::Executable(std::string(QRV_BUILD_DIR "/tests/program_") + name);
}

inline std::string ExamplePath(const std::string& name) {
  return test_host::Executable(std::string(QRV_BUILD_DIR "/examples/example_") + name);
}

inline std::string GamePath() { return test_host::Executable(QRV_BUILD_DIR "/game/skipdale2"); }

using test_host::Shell;

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

// A private X display for one test, so that focus and windows of programs that other
// tests run at the same time cannot interfere.
class VirtualDisplay {
 public:
  // serverArgs go to the X server after the usual ones (e.g. a font path).
  explicit VirtualDisplay(std::vector<std::string> serverArgs = {}) {
    Start(serverArgs);
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
  void Start(const std::vector<std::string>& serverArgs) {
    if (test_host::IsWindows()) {
      // Wine draws every program on the display it started with, whatever the program's
      // DISPLAY says: that display is the test's (tests run one at a time).
      const char* wine = std::getenv("DISPLAY");
      if (serverArgs.empty() && wine != nullptr) name_ = wine;
      return;
    }
    const std::string numberFile = folder_.Path() + "/display";
    std::string command = "Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -ardelay 10000 "
                          "-noreset";
    for (const std::string& arg : serverArgs) command += " '" + arg + "'";
    pid_ = Shell(command + " >'" + numberFile + "' 2>/dev/null </dev/null & echo $!");
    // The server writes its number once it listens.
    std::string number;
    Eventually(
        [&] {
          std::ifstream in(numberFile);
          std::getline(in, number);
          return in.good() && !number.empty();
        },
        60);
    if (!number.empty()) name_ = ":" + number;
    // Ready only once a client gets through: a loaded machine has been seen to refuse the
    // first program's connection. Without -noreset every probe's goodbye would reset the
    // server, which opens the same gap again.
    if (!name_.empty() &&
        !Eventually([&] { return Shell("DISPLAY=" + name_ + " xdpyinfo >/dev/null 2>&1; echo $?") == "0"; },
                    30)) {
      name_.clear();
    }
    if (name_.empty()) Stop();
  }
  void Stop() {
    if (!pid_.empty()) Shell("kill " + pid_ + " 2>/dev/null");
    pid_.clear();
  }

  ScratchFolder folder_{"qrv-display"};
  std::string pid_;
  std::string name_;
};

// One run of a program in its own fresh temporary folder.
class ProgramRun {
 public:
  // `prepare` may put files into the fresh folder before the program starts.
  ProgramRun(const std::string& program, std::vector<std::string> args,
             std::vector<std::pair<std::string, std::string>> env = {},
             const std::function<void(const std::string&)>& prepare = {}) {
    if (prepare) prepare(folder_.Path());
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    test_host::ChildOptions options;
    // The start-up folder too, so that files a test plants there stay its own.
    options.folder = folder_.Path();
    options.env = {{test_host::TempFolderVariable(), folder_.Path()}};
    options.env.insert(options.env.end(), env.begin(), env.end());
    child_ = std::make_unique<test_host::Child>(argv, options);
  }

  // Exit code, or -1 when it did not end normally within the limit (it keeps running).
  int Wait(double seconds = 30) { return child_->Wait(seconds); }

  // Asks the program to end, as the session manager would.
  void AskToStop() { child_->AskToStop(); }

  std::vector<std::string> LogLines() const {
    std::ifstream in(folder_.Path() + "/ErrorLog.txt", std::ios::binary);
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
    std::ifstream in(folder_.Path() + "/presents");
    long count = -1;
    in >> count;
    return count;
  }

  const std::string& Folder() const { return folder_.Path(); }

 private:
  ScratchFolder folder_{"qrv-frame"};  // outlives the program, which is killed first
  std::unique_ptr<test_host::Child> child_;
};


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
