// Temporary folders for tests: a scratch folder removed with everything in it, and the
// temporary-folder variable pointed at a folder for a while and then put back.
#pragma once

#include <cstdlib>
#include <string>

#include "support/host.h"

namespace frame_test {

using test_host::ScratchFolder;

// Points the temporary-folder variable somewhere for as long as it lives, then puts back
// what was there.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& dir) {
    const char* old = std::getenv(test_host::TempFolderVariable().c_str());
    had_ = old != nullptr;
    if (had_) old_ = old;
    test_host::SetVariable(test_host::TempFolderVariable(), dir);
  }
  ~TemporaryFolderSetting() {
    if (had_) {
      test_host::SetVariable(test_host::TempFolderVariable(), old_);
    } else {
      test_host::UnsetVariable(test_host::TempFolderVariable());
    }
  }
  TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
  TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

 private:
  bool had_ = false;
  std::string old_;
};

}  // namespace frame_test
