// The console streams through the C library, the same on every host: each write is
// flushed, so the text shows before anything the program does next.
#include <cstdio>

#include "platform/host_services.h"

namespace qrv::platform {

void WriteStandardOutput(const char* bytes, size_t count) {
  std::fwrite(bytes, 1, count, stdout);
  std::fflush(stdout);
}

void WriteStandardError(const char* bytes, size_t count) {
  std::fwrite(bytes, 1, count, stderr);
  std::fflush(stderr);
}

bool ReadStandardInputLine(char* buffer, int size) {
  // Whatever the program wrote before asking shows first.
  std::fflush(stdout);
  return std::fgets(buffer, size, stdin) != nullptr;
}

}  // namespace qrv::platform
