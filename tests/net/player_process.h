// A net_player program run as a real process, asked one line at a time.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/host.h"

namespace net_test {

class Player {
 public:
  // runtime: the player runs as a runtime program (window hidden, its own temporary folder).
  // verbose: it runs with QRV_VERBOSE=1, its standard error kept for Errors().
  explicit Player(bool runtime = false, bool verbose = false) {
    test_host::ChildOptions options;
    options.piped = true;
    std::vector<std::string> argv = {
        test_host::Executable(QRV_BUILD_DIR "/tests/program_net_player")};
    if (runtime || verbose) folder_ = std::make_unique<test_host::ScratchFolder>("qrv-net-player");
    if (verbose) {
      options.env.emplace_back("QRV_VERBOSE", "1");
      options.errorFile = Folder() + "/stderr.txt";
    }
    if (runtime) {
      options.env.emplace_back(test_host::TempFolderVariable(), Folder());
      options.env.emplace_back("QRV_START_HIDDEN", "1");
      argv.push_back("--runtime");
    }
    child_ = std::make_unique<test_host::Child>(argv, options);
  }
  ~Player() { child_.reset(); }  // ends it (it ends with its input) before its folder goes

  // Sends a command and gives the answer line ("" when none came within `seconds`).
  std::string Ask(const std::string& command, double seconds = 20) {
    if (!child_->Write(command + "\n")) return "";
    return ReadLine(seconds);
  }

  std::string ReadLine(double seconds = 20) { return child_->ReadLine(seconds); }

  // True when the process ended within `seconds`; its exit code in *code.
  bool Exited(double seconds, int* code = nullptr) { return child_->Exited(seconds, code); }

  std::string Folder() const { return folder_ ? folder_->Path() : std::string(); }

  // What a verbose player wrote to its standard error so far.
  std::string Errors() const {
    std::string text;
    if (FILE* file = std::fopen((Folder() + "/stderr.txt").c_str(), "r")) {
      char chunk[4096];
      for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
      std::fclose(file);
    }
    return text;
  }

 private:
  std::unique_ptr<test_host::ScratchFolder> folder_;
  std::unique_ptr<test_host::Child> child_;
};

// Asks until the answer is `expected` or the time is up; the last answer.
inline std::string AskUntil(Player& player, const std::string& command, const std::string& expected,
                            double seconds = 10) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  std::string answer;
  do {
    answer = player.Ask(command);
    if (answer == expected) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return answer;
}

}  // namespace net_test
