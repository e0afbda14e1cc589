// Text at the Windows boundary: the runtime's strings are UTF-8, the system's wide calls
// take and give UTF-16.
#pragma once

#include <string>

namespace qrv::platform::windows {

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::wstring Wide(const std::string& text);
// UTF-16 to UTF-8 (count characters, or up to the terminating zero when count is -1).
std::string Narrow(const wchar_t* text, int count = -1);
// The system's text for an error number (GetLastError, WSAGetLastError), without the
// trailing line break; empty when the system has none.
std::string SystemMessage(unsigned long error);
// The system's text, or "error N" when it has none: why a call failed.
std::string FailureText(unsigned long error);

}  // namespace qrv::platform::windows
