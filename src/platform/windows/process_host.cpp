// The process and its surroundings on Windows: the debugger is the system's, and its
// channel is OutputDebugString (standard error too, for a console).
#include "platform/process_host.h"

#include <windows.h>

#include <cstdio>

#include "platform/windows/wide_text.h"

namespace qrv::platform {

bool DebuggerAttached() { return IsDebuggerPresent() != 0; }

void DebugText(const char* text) {
  std::wstring line = windows::Wide(std::string(text) + "\n");
  OutputDebugStringW(line.c_str());
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
}

}  // namespace qrv::platform
