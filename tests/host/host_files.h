// Helpers of the host's tests: a fresh folder that removes itself, a whole file read as
// text, and the lines a program logged itself.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/host.h"

namespace host_test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines a runtime program logged itself, between start-up and shutdown.
inline std::vector<std::string> Between(const std::vector<std::string>& log) {
  std::vector<std::string> lines;
  bool inside = false;
  for (const std::string& line : log) {
    if (line == "Shut down QRV") break;
    if (inside) lines.push_back(line);
    if (line == "Init Finalized") inside = true;
  }
  return lines;
}

struct TempFolder {
  test_host::ScratchFolder scratch{"qrv-host"};
  std::filesystem::path path = scratch.Path();
};

}  // namespace host_test
