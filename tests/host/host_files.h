// Files for the host's tests: a fresh folder under /tmp that removes itself, and a
// whole file read as text.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace host_test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TempFolder {
  TempFolder() {
    char pattern[] = "/tmp/qrv-host-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

}  // namespace host_test
