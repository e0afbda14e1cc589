// The process and its surroundings: starting another program detached, and whether a
// debugger is watching.
#include "platform/process_host.h"

#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

extern char** environ;

namespace qrv::platform {

bool StartCommandLine(const std::string& commandLine) {
  const char* argv[] = {"/bin/sh", "-c", commandLine.c_str(), nullptr};
  pid_t child = 0;
  return posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0;
}

bool DebuggerAttached() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("TracerPid:", 0) == 0) return std::atoi(line.c_str() + 10) != 0;
  }
  return false;
}

void DebugText(const char* text) {
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
}

}  // namespace qrv::platform
