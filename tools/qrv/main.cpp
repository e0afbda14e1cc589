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

namespace {

bool IsHelp(const char* word) {
  return std::strcmp(word, "--help") == 0 || std::strcmp(word, "-h") == 0 ||
         std::strcmp(word, "help") == 0;
}

const qrv::tool::Command* Find(const char* name) {
  for (const auto& command : qrv::tool::Commands()) {
    if (std::strcmp(name, command.name) == 0) return &command;
  }
  return nullptr;
}

// The whole usage: asked for, it goes to standard output; after a mistake, to standard error.
void Usage(std::FILE* to) {
  std::fprintf(to, "usage: qrv COMMAND ...\n");
  for (const auto& command : qrv::tool::Commands()) {
    std::fprintf(to, "  qrv %s %s\n", command.name, command.usage);
  }
  std::fprintf(to, "  qrv COMMAND --help     one command's usage\n  qrv --version\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  if (IsHelp(argv[1]) && argc == 2) {
    Usage(stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("qrv %s\n", QRV_VERSION);
    return 0;
  }
  // "qrv help COMMAND" and "qrv COMMAND --help" alike.
  const bool help = IsHelp(argv[1]) || (argc == 3 && IsHelp(argv[2]));
  const char* name = IsHelp(argv[1]) ? argv[2] : argv[1];
  const qrv::tool::Command* command = Find(name);
  if (command == nullptr) {
    std::fprintf(stderr, "qrv: unknown command '%s'\n", name);
    Usage(stderr);
    return 2;
  }
  if (help) {
    std::printf("usage: qrv %s %s\n", command->name, command->usage);
    return 0;
  }
  return command->run(argc - 2, argv + 2);
}
