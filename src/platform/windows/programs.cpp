// Other programs on Windows: CreateProcess with the command line exactly as passed (the
// started program splits it by its own rules), waited for or left to run, and the shell's
// "open" for documents and addresses.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/host_services.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

namespace {

// The null device, inheritable, for the streams a program does not share.
HANDLE OpenNul(bool forWriting) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(L"NUL", forWriting ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
}

// An inheritable duplicate of one of this process's standard handles (null when it has none).
HANDLE Inheritable(DWORD which) {
  HANDLE own = GetStdHandle(which), copy = nullptr;
  if (own == nullptr || own == INVALID_HANDLE_VALUE) return nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

// The three standard handles a program gets, closed again when it has started.
struct StandardHandles {
  explicit StandardHandles(Streams streams) {
    input = streams == Streams::Shared ? Inheritable(STD_INPUT_HANDLE) : OpenNul(false);
    output = streams == Streams::Hidden ? OpenNul(true) : Inheritable(STD_OUTPUT_HANDLE);
    error = streams == Streams::Hidden ? OpenNul(true) : Inheritable(STD_ERROR_HANDLE);
  }
  ~StandardHandles() {
    for (HANDLE handle : {input, output, error}) {
      if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
  }
  // The handles to pass on, each once: only these reach the program.
  std::vector<HANDLE> List() const {
    std::vector<HANDLE> list;
    for (HANDLE handle : {input, output, error}) {
      bool usable = handle != nullptr && handle != INVALID_HANDLE_VALUE;
      bool seen = false;
      for (HANDLE other : list) seen = seen || other == handle;
      if (usable && !seen) list.push_back(handle);
    }
    return list;
  }
  HANDLE input, output, error;
};

}  // namespace

ProgramRun RunCommandLine(const std::string& commandLine, Streams streams, bool wait) {
  ProgramRun run;
  if (commandLine.find_first_not_of(" \t") == std::string::npos) {
    run.failure = "no program named";
    return run;
  }
  StandardHandles handles(streams);
  std::vector<HANDLE> inherited = handles.List();
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<unsigned char> attributeBytes(size);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeBytes.data());
  bool listed = !inherited.empty() &&
                InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                          inherited.data(), inherited.size() * sizeof(HANDLE),
                                          nullptr, nullptr);
  STARTUPINFOEXW start{};
  start.StartupInfo.cb = sizeof start;
  start.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  start.StartupInfo.hStdInput = handles.input;
  start.StartupInfo.hStdOutput = handles.output;
  start.StartupInfo.hStdError = handles.error;
  if (streams == Streams::Hidden) {
    start.StartupInfo.dwFlags |= STARTF_USESHOWWINDOW;
    start.StartupInfo.wShowWindow = SW_HIDE;
  }
  DWORD flags = CREATE_UNICODE_ENVIRONMENT;
  if (listed) {
    start.lpAttributeList = attributes;
    flags |= EXTENDED_STARTUPINFO_PRESENT;
  }
  if (streams == Streams::Hidden) flags |= CREATE_NO_WINDOW;
  // CreateProcessW may write into the line it is given.
  std::wstring line = windows::Wide(commandLine);
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, listed ? TRUE : FALSE,
                                flags, nullptr, nullptr, &start.StartupInfo, &process);
  DWORD error = GetLastError();
  if (listed) DeleteProcThreadAttributeList(attributes);
  if (!started) {
    run.failure = windows::FailureText(error);
    return run;
  }
  run.started = true;
  ::CloseHandle(process.hThread);
  if (wait) {
    DWORD code = 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    if (GetExitCodeProcess(process.hProcess, &code)) run.exitCode = static_cast<int>(code);
  }
  ::CloseHandle(process.hProcess);
  return run;
}

bool OpenWithDesktop(const std::string& target, std::string& failure) {
  HINSTANCE result = ShellExecuteW(nullptr, L"open", windows::Wide(target).c_str(), nullptr,
                                   nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success.
  if (reinterpret_cast<INT_PTR>(result) > 32) return true;
  failure = windows::FailureText(GetLastError());
  return false;
}

}  // namespace qrv::platform
