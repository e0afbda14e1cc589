// Other programs: RunProcess starts a command line and may wait for it; OpenDocument
// hands a document or address to the desktop and ends the program.
#include <cmath>
#include <string>

#include "platform/host_services.h"
#include "quorvia/frame.h"
#include "quorvia/host.h"

namespace qrv {

double RunProcess(const RtString& commandLine, double wait, double show, double& exitCode) {
  exitCode = 0;
  bool waitForEnd = wait != 0 || std::isnan(wait);
  // A program left to run reads no input: the game keeps its console.
  platform::Streams streams = show == 0    ? platform::Streams::Hidden
                              : waitForEnd ? platform::Streams::Shared
                                           : platform::Streams::OutputOnly;
  platform::ProgramRun run = platform::RunCommandLine(commandLine.c_str(), streams, waitForEnd);
  if (!run.started) {
    ReportFailure({"RunProcess", commandLine.View(), run.failure});
    return 0;
  }
  if (waitForEnd) exitCode = run.exitCode;
  return 1;
}

[[noreturn]] void OpenDocument(const RtString& target) {
  Shutdown();
  std::string failure;
  if (!platform::OpenWithDesktop(target.c_str(), failure)) {
    ReportFailure({"OpenDocument", target.View(), failure});
  }
  End();
}

}  // namespace qrv
