// qrv: the command-line companion of the runtime. Each sub-command lives in its own
// file and registers itself with QRV_TOOL_COMMAND.
#include <cstdio>
#include <cstring>

#include "tool_command.h"

namespace qrv::tool {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

Registration::Registration(const char* name, const char* usage, int (*run)(int, char**)) {
  Commands().push_back({name, usage, run});
}

}  // namespace qrv::tool

static int Usage() {
  std::fprintf(stderr, "usage: qrv COMMAND ...\n");
  for (const auto& command : qrv::tool::Commands()) {
    std::fprintf(stderr, "  qrv %s %s\n", command.name, command.usage);
  }
  return 2;
}

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const auto& command : qrv::tool::Commands()) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  return Usage();
}
