// Temporary folders for tests: a scratch folder removed with everything in it, and TMPDIR
// pointed at a folder for a while and then put back.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace frame_test {

// A fresh folder under /tmp, removed with everything in it when the object ends. A static
// one lives until its test program ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix = "qrv-test") {
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Points TMPDIR somewhere for as long as it lives, then puts back what was there.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& dir) {
    const char* old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TMPDIR", dir.c_str(), 1);
  }
  ~TemporaryFolderSetting() {
    if (had_) {
      setenv("TMPDIR", old_.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }
  TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
  TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

 private:
  bool had_ = false;
  std::string old_;
};

}  // namespace frame_test
