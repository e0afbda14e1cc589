// Other programs: RunProcess starts a command line and may wait for it; OpenDocument
// hands a document or address to the desktop and ends the program.
#include <cmath>

#include "host/host_rules.h"
#include "platform/host_services.h"
#include "quorvia/frame.h"
#include "quorvia/host.h"

namespace qrv {

double RunProcess(const RtString& commandLine, double wait, double show, double& exitCode) {
  exitCode = 0;
  std::string command(commandLine.c_str());
  // A blank command line names no program to start.
  if (command.find_first_not_of(" \t\r\n") == std::string::npos) return 0;
  bool waitForEnd = wait != 0 || std::isnan(wait);
  platform::ShellRun run =
      platform::RunShellCommand(command, host::CommandProgram(command), waitForEnd, show != 0);
  if (!run.started) return 0;
  if (waitForEnd) exitCode = run.exitCode;
  return 1;
}

[[noreturn]] void OpenDocument(const RtString& target) {
  Shutdown();
  platform::OpenWithDesktop(target.c_str());
  End();
}

}  // namespace qrv
