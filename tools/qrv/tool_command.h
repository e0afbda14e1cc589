// The qrv tool's sub-command table. A sub-command file defines
//   static int Run(int argc, char** argv);  // the words after the command's name
//   QRV_TOOL_COMMAND(name, "usage text", Run);
#pragma once

#include <vector>

namespace qrv::tool {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);
};

std::vector<Command>& Commands();

struct Registration {
  Registration(const char* name, const char* usage, int (*run)(int, char**));
};

}  // namespace qrv::tool

#define QRV_TOOL_COMMAND(name, usage, run) \
  static const qrv::tool::Registration qrv_tool_registration_##name(#name, usage, run)
