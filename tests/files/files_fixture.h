// A private folder per test, made the current directory and the temporary folder, with
// small helpers to write and read files and to run the qrv tool.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/host.h"

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

inline const std::string kQrv = test_host::Executable(QRV_BUILD_DIR "/tools/qrv");

// Runs the qrv tool with the given words; its exit status.
inline int RunQrv(const std::string& words) {
  std::vector<std::string> argv = test_host::SplitWords(words);
  argv.insert(argv.begin(), kQrv);
  return test_host::RunProgram(argv);
}

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    // A death test's child works in its parent's folder.
    root_ = test_host::SharedWithDeathTests(kFolderVariable, [this] {
      folder_ = std::make_unique<test_host::ScratchFolder>("qrv-files");
      return folder_->Path();
    });
    fs::create_directories(root_ / "tmp");
    previous_ = fs::current_path();
    fs::current_path(root_);
    test_host::SetVariable(test_host::TempFolderVariable(), (root_ / "tmp").string());
  }
  void TearDown() override {
    fs::current_path(previous_);
    test_host::UnsetVariable(kFolderVariable);
    folder_.reset();
  }
  static constexpr const char* kFolderVariable = "QRV_TEST_FILES_FOLDER";
  std::unique_ptr<test_host::ScratchFolder> folder_;
  fs::path root_, previous_;
};

}  // namespace files_test
