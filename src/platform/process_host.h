// The process and its surroundings: whether a debugger is watching, and its channel.
#pragma once

#include <string>

namespace qrv::platform {

// Whether a debugger traces the process.
bool DebuggerAttached();
// A line for the debugger's eyes (standard error here).
void DebugText(const char* text);

}  // namespace qrv::platform
