// Windows side of the host services: the environment (UTF-16 underneath), local time and
// libraries (LoadLibrary / GetProcAddress).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/host_services.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

bool EnvironmentValue(const char* name, std::string& value) {
  const wchar_t* text = _wgetenv(windows::Wide(name).c_str());
  if (text == nullptr) return false;
  value = windows::Narrow(text);
  return true;
}

std::vector<std::string> EnvironmentEntries() {
  std::vector<std::string> entries;
  wchar_t* block = GetEnvironmentStringsW();
  if (block == nullptr) return entries;
  for (const wchar_t* entry = block; *entry != 0; entry += wcslen(entry) + 1) {
    // Entries such as "=C:=C:\\game" are the shell's per-drive folders, not variables.
    if (entry[0] != L'=') entries.push_back(windows::Narrow(entry));
  }
  FreeEnvironmentStringsW(block);
  return entries;
}

// _wputenv_s changes the C library's copy and the process environment alike.
bool SetEnvironmentValue(const char* name, const char* value) {
  if (name[0] == 0 || std::string(name).find('=') != std::string::npos) return false;
  return _wputenv_s(windows::Wide(name).c_str(), windows::Wide(value).c_str()) == 0;
}

bool RemoveEnvironmentValue(const char* name) {
  if (name[0] == 0 || std::string(name).find('=') != std::string::npos) return false;
  return _wputenv_s(windows::Wide(name).c_str(), L"") == 0;
}

LocalTime CurrentLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void* LoadSharedLibrary(const char* name, std::string& failure) {
  HMODULE module = LoadLibraryW(windows::Wide(name).c_str());
  if (module == nullptr) failure = windows::FailureText(GetLastError());
  return reinterpret_cast<void*>(module);
}

void* SharedLibraryFunction(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace qrv::platform
