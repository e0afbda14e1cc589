// Points the temporary folder (where the error log goes) at a private folder that is
// removed when the fuzz run ends, so that failing inputs leave nothing behind.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "platform/host_services.h"
#include "platform/platform.h"

inline void UsePrivateTemporaryFolder() {
  static bool done = false;
  if (done) return;
  done = true;
  namespace fs = std::filesystem;
  static fs::path folder;
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  if (error) return;
  // A fresh name that no one else holds: creation fails on a folder that exists.
  std::random_device seed;
  for (int attempt = 0; attempt < 100 && folder.empty(); ++attempt) {
    fs::path candidate = base / ("qrv-fuzz-" + std::to_string(seed()));
    if (fs::create_directory(candidate, error)) folder = candidate;
  }
  if (folder.empty()) return;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
  qrv::platform::SetEnvironmentValue(qrv::platform::TempFolderVariable(),
                                     folder.string().c_str());
  std::atexit([] {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  });
}
