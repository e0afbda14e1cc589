// A private folder per test, made the current directory and the temporary folder, with
// small helpers to write and read files and to run the qrv tool.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace files_test {

namespace fs = std::filesystem;

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path().empty() ? "." : path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the qrv tool with the given words; its exit status.
inline int RunQrv(const std::string& words) {
  std::string command = std::string(QRV_BUILD_DIR "/tools/qrv ") + words + " >/dev/null 2>&1";
  return std::system(command.c_str());
}

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string name = "qrv-files-" + std::to_string(getpid()) + "-" +
                       testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    // The base is taken once: each test points TMPDIR at its own folder.
    static const fs::path base = fs::temp_directory_path();
    root_ = base / name;
    fs::remove_all(root_);
    fs::create_directories(root_ / "tmp");
    previous_ = fs::current_path();
    fs::current_path(root_);
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(root_);
  }
  fs::path root_, previous_;
};

}  // namespace files_test
