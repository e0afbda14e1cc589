// Other programs in the browser: a page cannot start programs, nor hand files to the
// desktop, so both fail with the reason.
#include "platform/host_services.h"

namespace qrv::platform {

ProgramRun RunCommandLine(const std::string& commandLine, Streams streams, bool wait) {
  ProgramRun run;
  run.failure = "a web page cannot start programs";
  return run;
}

bool OpenWithDesktop(const std::string& target, std::string& failure) {
  failure = "a web page cannot open documents";
  return false;
}

}  // namespace qrv::platform
