// Runs a statement in a child process and checks that it ends through the error stop
// (exit code 0) with the expected error code, read back from the error log.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "frame/scratch.h"
#include "quorvia/frame.h"
#include "support/host.h"

namespace qrv_test {

inline std::string StopLogDirectory() {
  // A death test's child logs where its parent looks.
  return test_host::SharedWithDeathTests("QRV_TEST_STOP_FOLDER", [] {
    return test_host::TempRoot() + "/qrv-values-" + std::to_string(getpid()) + "/";
  });
}

// The error code END wrote to the log: the line after "-End On Line".
inline std::string LoggedStopCode(const std::string& dir) {
  std::ifstream in(dir + "ErrorLog.txt", std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("-End On Line", 0) == 0 && std::getline(in, line)) {
      return line.substr(0, line.find('\r'));
    }
  }
  return "(no stop logged)";
}

inline void ExpectErrorStop(int code, const std::function<void()>& statement) {
  std::string dir = StopLogDirectory();
  std::error_code ignored;  // a death test's child finds the folder its parent made
  std::filesystem::remove(dir + "ErrorLog.txt", ignored);
  std::filesystem::create_directories(dir, ignored);
  frame_test::TemporaryFolderSetting tmpdir(dir);
  int debug = qrv::Settings().debugFlag;
  qrv::Settings().debugFlag = 1;  // END then logs the code it stopped with
  EXPECT_EXIT(
      {
        statement();
        std::exit(3);  // returning from the statement is a failure of its own
      },
      testing::ExitedWithCode(0), "");
  qrv::Settings().debugFlag = debug;
  EXPECT_EQ(LoggedStopCode(dir), std::to_string(code));
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace qrv_test
