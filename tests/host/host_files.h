// Files for the host's tests: a fresh folder under /tmp that removes itself, and a
// whole file read as text.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/host.h"

namespace host_test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TempFolder {
  test_host::ScratchFolder scratch{"qrv-host"};
  std::filesystem::path path = scratch.Path();
};

}  // namespace host_test
