// Fuzz target: an arbitrary command line searched for the program it runs first.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/host_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  qrv::host::CommandProgram(line);
  return 0;
}
