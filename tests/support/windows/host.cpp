// The tests' host services on Windows (run under Wine on the build machine): CreateProcess
// with an environment block of its own, pipes and files for the standard streams, and the
// build machine's /bin/sh for shell commands.
#include <winsock2.h>
#include <ws2tcpip.h>
// winsock2.h before windows.h
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "support/host.h"

namespace test_host {

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// One argument as the C run-time's command-line parser reads it back.
std::wstring QuoteArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// Environment names compare without case on Windows.
struct NoCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }
};

std::wstring EnvironmentBlock(const ChildOptions& options) {
  std::map<std::wstring, std::wstring, NoCase> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
      std::wstring line = entry;
      size_t equals = line.find(L'=', 1);  // "=C:=C:\..." entries start with '='
      if (equals != std::wstring::npos) variables[line.substr(0, equals)] = line.substr(equals + 1);
    }
    FreeEnvironmentStringsW(block);
  }
  for (const std::string& name : options.unset) variables.erase(Wide(name));
  for (const auto& [name, value] : options.env) variables[Wide(name)] = Wide(value);
  std::wstring block;
  for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
  return block + L'\0';
}

HANDLE OpenForChild(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.empty() ? L"NUL" : Wide(path).c_str(), GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

bool IsWindows() { return true; }

std::string Executable(const std::string& path) { return path + ".exe"; }

std::string ShellProgram(const std::string& path) { return "wine '" + Executable(path) + "'"; }

void SetVariable(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
  _putenv_s(name.c_str(), value.c_str());
}

void UnsetVariable(const std::string& name) {
  SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
  _putenv_s(name.c_str(), "");
}

std::string TempFolderVariable() { return "TMP"; }

// The build machine's /tmp: Wine reads a path from the root as one on the current drive,
// and the tests run from a folder on the drive that maps the machine's root.
std::string TempRoot() { return "/tmp"; }

std::int64_t PeakMemoryBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<std::int64_t>(counters.PeakWorkingSetSize);
}

bool CanLimitResources() { return false; }

bool LimitFileSize(std::int64_t) { return false; }

bool LimitAddressSpace(std::int64_t) { return false; }

// Winsock, started once for the tests' own sockets.
static bool SocketsReady() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

int FreePort(bool datagram) {
  if (!SocketsReady()) return 0;
  SOCKET s = socket(AF_INET, datagram ? SOCK_DGRAM : SOCK_STREAM, 0);
  int port = 0;
  if (s != INVALID_SOCKET) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      port = ntohs(address.sin_port);
    }
    closesocket(s);
  }
  return port;
}

RawSocket RawListener(int backlog, int* port) {
  if (!SocketsReady()) return -1;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (listener == INVALID_SOCKET ||
      bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, backlog) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener != INVALID_SOCKET) closesocket(listener);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return static_cast<RawSocket>(listener);
}

RawSocket RawConnect(int port, int receiveBuffer) {
  if (!SocketsReady()) return -1;
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return -1;
  if (receiveBuffer > 0) {
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
               sizeof receiveBuffer);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return -1;
  }
  return static_cast<RawSocket>(s);
}

static bool Readable(RawSocket s, double seconds) {
  WSAPOLLFD entry{static_cast<SOCKET>(s), POLLRDNORM, 0};
  return WSAPoll(&entry, 1, static_cast<int>(seconds * 1000)) == 1;
}

RawSocket RawAccept(RawSocket listener, double seconds) {
  if (listener < 0 || !Readable(listener, seconds)) return -1;
  SOCKET s = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? -1 : static_cast<RawSocket>(s);
}

bool RawSend(RawSocket s, const std::string& bytes) {
  return s >= 0 && send(static_cast<SOCKET>(s), bytes.data(), static_cast<int>(bytes.size()), 0) ==
                       static_cast<int>(bytes.size());
}

long RawReceive(RawSocket s, char* buffer, std::size_t size, double seconds) {
  if (s < 0) return -1;
  if (!Readable(s, seconds)) return -2;
  return recv(static_cast<SOCKET>(s), buffer, static_cast<int>(size), 0);
}

void RawClose(RawSocket s) {
  if (s >= 0) closesocket(static_cast<SOCKET>(s));
}

struct Child::State {
  PROCESS_INFORMATION process{};
  HANDLE to = nullptr;    // its standard input
  HANDLE from = nullptr;  // its standard output
  bool running = false;
  bool piped = false;
};

Child::Child(const std::vector<std::string>& argv, const ChildOptions& options)
    : state_(new State) {
  if (argv.empty()) return;
  std::wstring commandLine;
  for (const std::string& arg : argv) {
    if (!commandLine.empty()) commandLine += L' ';
    commandLine += QuoteArgument(Wide(arg));
  }
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE childIn = nullptr, childOut = nullptr, childErr = nullptr;
  if (options.piped) {
    if (!CreatePipe(&childIn, &state_->to, &inherit, 0) ||
        !CreatePipe(&state_->from, &childOut, &inherit, 0)) {
      return;
    }
    SetHandleInformation(state_->to, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(state_->from, HANDLE_FLAG_INHERIT, 0);
  } else {
    childIn = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          OPEN_EXISTING, 0, nullptr);
    childOut = OpenForChild(options.outputFile);
  }
  childErr = options.errorsWithOutput ? childOut : OpenForChild(options.errorFile);
  startup.hStdInput = childIn;
  startup.hStdOutput = childOut;
  startup.hStdError = childErr;
  std::wstring environment = EnvironmentBlock(options);
  const std::wstring folder = Wide(options.folder);
  std::wstring program = Wide(argv[0]);
  state_->piped = options.piped;
  state_->running =
      CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                     CREATE_UNICODE_ENVIRONMENT, environment.data(),
                     folder.empty() ? nullptr : folder.c_str(), &startup, &state_->process) != 0;
  for (HANDLE handle : {childIn, childOut, childErr == childOut ? nullptr : childErr}) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  if (state_->running) CloseHandle(state_->process.hThread);
}

Child::~Child() {
  CloseInput();
  if (state_->running && !Exited(state_->piped ? 2 : 0)) Kill();
  if (state_->from != nullptr) CloseHandle(state_->from);
  delete state_;
}

bool Child::Started() const { return state_->running; }

bool Child::Exited(double seconds, int* code) {
  if (!state_->running) return false;
  DWORD wait = WaitForSingleObject(state_->process.hProcess, static_cast<DWORD>(seconds * 1000));
  if (wait != WAIT_OBJECT_0) return false;
  DWORD exitCode = 0;
  GetExitCodeProcess(state_->process.hProcess, &exitCode);
  CloseHandle(state_->process.hProcess);
  state_->running = false;
  if (code != nullptr) *code = static_cast<int>(exitCode);
  return true;
}

void Child::Kill() {
  if (!state_->running) return;
  TerminateProcess(state_->process.hProcess, 1);
  WaitForSingleObject(state_->process.hProcess, 10000);
  CloseHandle(state_->process.hProcess);
  state_->running = false;
}

void Child::AskToStop() {
  if (!state_->running) return;
  struct Search {
    DWORD id;
  } search{state_->process.dwProcessId};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == reinterpret_cast<Search*>(data)->id) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
}

bool Child::Write(const std::string& text) {
  DWORD written = 0;
  return state_->to != nullptr &&
         WriteFile(state_->to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

std::string Child::ReadLine(double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (true) {
    size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    DWORD available = 0;
    if (state_->from == nullptr ||
        !PeekNamedPipe(state_->from, nullptr, 0, nullptr, &available, nullptr)) {
      return "";
    }
    if (available == 0) {
      if (std::chrono::steady_clock::now() > deadline) return "";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    char chunk[4096];
    DWORD n = 0;
    if (!ReadFile(state_->from, chunk, std::min<DWORD>(available, sizeof chunk), &n, nullptr) ||
        n == 0) {
      return "";
    }
    buffer_.append(chunk, n);
  }
}

void Child::CloseInput() {
  if (state_->to != nullptr) CloseHandle(state_->to);
  state_->to = nullptr;
}

// Wine starts a program of the build machine when given its path, but can neither wait for
// it nor hand it a pipe, and passes it a Windows PATH. So the command goes into a script that
// runs with the machine's PATH (QRV_UNIX_PATH, set by tools/windows/wine-env.sh), writes its
// output to a file and its exit code to another, which is waited for.
ShellResult RunShell(const std::string& command, int seconds) {
  ShellResult result;
  ScratchFolder folder("qrv-shell");
  if (folder.Path().empty()) return result;
  const std::string dir = folder.Path();
  std::string here = std::filesystem::current_path().string();
  if (here.size() > 2 && (here[0] == 'Z' || here[0] == 'z') && here[1] == ':') here.erase(0, 2);
  std::replace(here.begin(), here.end(), '\\', '/');
  std::ofstream(dir + "/command.sh", std::ios::binary) << command << "\n";
  std::ofstream(dir + "/run.sh", std::ios::binary)
      << "[ -z \"$QRV_UNIX_PATH\" ] || export PATH=\"$QRV_UNIX_PATH\"\n"
      << "cd '" << here << "' 2>/dev/null\n"
      << "/usr/bin/timeout " << seconds << " /bin/sh '" << dir << "/command.sh' > '" << dir
      << "/out' 2>/dev/null </dev/null\n"
      << "echo $? > '" << dir << "/status.tmp' && mv '" << dir << "/status.tmp' '" << dir
      << "/status'\n";
  std::wstring commandLine = L"/bin/sh " + QuoteArgument(Wide(dir + "/run.sh"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return result;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds + 30);
  while (!std::filesystem::exists(dir + "/status")) {
    if (std::chrono::steady_clock::now() > deadline) return result;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  result.status = std::atoi(ReadWholeFile(dir + "/status").c_str());
  result.out = ReadWholeFile(dir + "/out");
  return result;
}

}  // namespace test_host
