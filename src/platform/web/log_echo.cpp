// The error log in the browser: each line goes to the console as well (standard error, which
// the page prints there), where a player or a developer looks; the log file itself is in the
// page's saved folder.
#include <cstdio>

#include "platform/platform.h"

namespace qrv::platform {

void EchoLogLine(const char* text) { std::fprintf(stderr, "error log: %s\n", text); }

}  // namespace qrv::platform
