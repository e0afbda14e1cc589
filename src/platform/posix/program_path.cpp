// The running program's own file, from the process file system.
#include <limits.h>
#include <unistd.h>

#include "platform/platform.h"

namespace qrv::platform {

std::string ExecutablePath() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return std::string();
  return std::string(path, static_cast<size_t>(n));
}

}  // namespace qrv::platform
