// The process and its surroundings: other programs started from here, and the debugger.
#pragma once

#include <string>

namespace qrv::platform {

// Starts a command line through the shell, not waited for. False when it cannot start.
bool StartCommandLine(const std::string& commandLine);
// Whether a debugger traces the process.
bool DebuggerAttached();
// A line for the debugger's eyes (standard error here).
void DebugText(const char* text);

}  // namespace qrv::platform
