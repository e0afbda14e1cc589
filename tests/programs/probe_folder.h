// The folder a test program reads and writes its files in: the temporary folder the test
// started it with (TMPDIR, or TMP on Windows), with no separator at the end.
#pragma once

#include <cstdlib>
#include <string>

inline std::string ProbeFolder() {
  for (const char* name : {"TMPDIR", "TMP"}) {
    if (const char* folder = std::getenv(name); folder != nullptr && *folder != '\0') {
      return folder;
    }
  }
  return "/tmp";
}
