// Points the temporary folder (where the error log goes) at a private folder that is
// removed when the fuzz run ends, so that failing inputs leave nothing behind.
#pragma once

#include <stdlib.h>

#include <filesystem>

inline void UsePrivateTemporaryFolder() {
  static bool done = false;
  if (done) return;
  done = true;
  static char folder[] = "/tmp/qrv-fuzz-XXXXXX";
  if (mkdtemp(folder) == nullptr) return;
  setenv("TMPDIR", folder, 1);
  atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
}
