// Runs the qrv tool (or any shell command) in a scratch folder of the test's own and keeps
// its exit code, standard output and standard error.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/process_runner.h"

namespace tool_test {

// The tool as the shell starts it.
const std::string kQrv = test_host::ShellProgram(QRV_BUILD_DIR "/tools/qrv");

using ScratchFolder = frame_test::ScratchFolder;

struct Result {
  int status = -1;  // the exit code, or -1 when the command did not end normally
  std::string out, err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs command with /bin/sh in folder.
inline Result Run(const std::filesystem::path& folder, const std::string& command) {
  ScratchFolder streams("qrv-tool");
  // Paths the shell reads, so with '/' between folders on every host.
  const std::string out = streams.Path() + "/out", err = streams.Path() + "/err";
  std::string line = "cd '" + folder.generic_string() + "' && { " + command + " ; } > '" + out +
                     "' 2> '" + err + "'";
  Result result;
  result.status = test_host::RunShell(line).status;
  result.out = test_host::ConsoleText(ReadFile(out));
  result.err = test_host::ConsoleText(ReadFile(err));
  return result;
}

}  // namespace tool_test
