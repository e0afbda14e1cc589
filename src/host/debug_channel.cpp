// The debug channel ("TX" lines for an attached debugger, or for standard error when
// QRV_DEBUG=1), the assertion check, and the game's routines called by name.
#include <string>

#include "platform/host_services.h"
#include "platform/process_host.h"
#include "quorvia/frame.h"
#include "quorvia/host.h"

namespace qrv {

static bool DebugChannelOpen() {
  std::string flag;
  return (platform::EnvironmentValue("QRV_DEBUG", flag) && flag == "1") ||
         platform::DebuggerAttached();
}

void DebugOutput(const RtString& text) {
  if (!DebugChannelOpen()) return;
  std::string line = "TX" + std::string(text.c_str());
  // Each message is a line of its own on the stream.
  if (!line.empty() && line.back() == '\n') line.pop_back();
  platform::DebugText(line.c_str());
}

void Assert(int32_t condition) {
  if (condition != 0) return;
  DebugOutput("Assertion: Value = 0\n");
  ErrorStop(21);
}

double CallByName(const RtString& name) {
  if (auto routine = FindNamedRoutine(name.c_str())) {
    routine();
    return 1;
  }
  if (name.View() != "QRV_ON_QUIT" && name.View() != "QRV_WIN32_MSG") {
    DebugOutput("CALLBYNAME \"" + name + "\" *** failed ***\n");
  }
  return 0;
}

}  // namespace qrv
