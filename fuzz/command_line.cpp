// Fuzz target: an arbitrary command line split into arguments, joined again, and split
// once more; the second split must give the same arguments.
#include "platform/command_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  // Zero bytes cannot be in a command line (its text ends at the first).
  line = line.substr(0, line.find('\0'));
  std::vector<std::string> arguments = qrv::platform::SplitCommandLine(line);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  std::string joined = qrv::platform::JoinCommandLine(static_cast<int>(argv.size()), argv.data());
  if (qrv::platform::SplitCommandLine(joined) != arguments) std::abort();
  return 0;
}
