// The tests' host services on POSIX systems: fork and exec, pipes, resource limits.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/host.h"

namespace test_host {

bool IsWindows() { return false; }

std::string Executable(const std::string& path) { return path; }

std::string ShellProgram(const std::string& path) { return "'" + path + "'"; }

void SetVariable(const std::string& name, const std::string& value) {
  setenv(name.c_str(), value.c_str(), 1);
}

void UnsetVariable(const std::string& name) { unsetenv(name.c_str()); }

std::string TempFolderVariable() { return "TMPDIR"; }

std::string TempRoot() { return "/tmp"; }

std::int64_t PeakMemoryBytes() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
}

bool CanLimitResources() { return true; }

static bool Limit(int resource, std::int64_t bytes) {
  rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  return setrlimit(resource, &limit) == 0;
}

// A write past the limit then fails instead of ending the process.
bool LimitFileSize(std::int64_t bytes) {
  signal(SIGXFSZ, SIG_IGN);
  return Limit(RLIMIT_FSIZE, bytes);
}

bool LimitAddressSpace(std::int64_t bytes) { return Limit(RLIMIT_AS, bytes); }

int FreePort(bool datagram) {
  int s = socket(AF_INET, datagram ? SOCK_DGRAM : SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(s);
  return port;
}

RawSocket RawListener(int backlog, int* port) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, backlog) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener >= 0) close(listener);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return listener;
}

RawSocket RawConnect(int port, int receiveBuffer) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return -1;
  if (receiveBuffer > 0) {
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(s);
    return -1;
  }
  return s;
}

static bool Readable(RawSocket s, double seconds) {
  pollfd entry{static_cast<int>(s), POLLIN, 0};
  return poll(&entry, 1, static_cast<int>(seconds * 1000)) == 1;
}

RawSocket RawAccept(RawSocket listener, double seconds) {
  if (listener < 0 || !Readable(listener, seconds)) return -1;
  return accept(static_cast<int>(listener), nullptr, nullptr);
}

bool RawSend(RawSocket s, const std::string& bytes) {
  return s >= 0 && send(static_cast<int>(s), bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                       static_cast<ssize_t>(bytes.size());
}

long RawReceive(RawSocket s, char* buffer, std::size_t size, double seconds) {
  if (s < 0) return -1;
  if (!Readable(s, seconds)) return -2;
  return recv(static_cast<int>(s), buffer, size, 0);
}

void RawClose(RawSocket s) {
  if (s >= 0) close(static_cast<int>(s));
}

struct Child::State {
  pid_t pid = -1;
  int to = -1;    // its standard input
  int from = -1;  // its standard output
  bool piped = false;
};

static void OpenOnto(const std::string& path, int fd) {
  int file = open(path.empty() ? "/dev/null" : path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file >= 0) {
    dup2(file, fd);
    close(file);
  }
}

Child::Child(const std::vector<std::string>& argv, const ChildOptions& options)
    : state_(new State) {
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  if (argv.empty() || (options.piped && (pipe(in) != 0 || pipe(out) != 0))) return;
  std::vector<std::string> args = argv;
  std::vector<char*> raw;
  for (std::string& arg : args) raw.push_back(arg.data());
  raw.push_back(nullptr);
  state_->pid = fork();
  if (state_->pid == 0) {
    if (options.piped) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    } else {
      OpenOnto(options.outputFile, 1);
    }
    if (options.errorsWithOutput) {
      dup2(1, 2);
    } else {
      OpenOnto(options.errorFile, 2);
    }
    if (!options.folder.empty() && chdir(options.folder.c_str()) != 0) _exit(126);
    for (const std::string& name : options.unset) unsetenv(name.c_str());
    for (const auto& [name, value] : options.env) setenv(name.c_str(), value.c_str(), 1);
    execv(raw[0], raw.data());
    _exit(127);
  }
  state_->piped = options.piped;
  if (options.piped) {
    close(in[0]);
    close(out[1]);
    state_->to = in[1];
    state_->from = out[0];
  }
}

Child::~Child() {
  CloseInput();
  // A piped child ends when its input does; give it a moment before it is killed.
  if (state_->pid > 0 && !Exited(state_->piped ? 2 : 0)) Kill();
  if (state_->from >= 0) close(state_->from);
  delete state_;
}

bool Child::Started() const { return state_->pid > 0; }

bool Child::Exited(double seconds, int* code) {
  if (state_->pid <= 0) return false;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  do {
    int status = 0;
    if (waitpid(state_->pid, &status, WNOHANG) == state_->pid) {
      state_->pid = -1;
      if (code != nullptr) *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

void Child::Kill() {
  if (state_->pid <= 0) return;
  kill(state_->pid, SIGKILL);
  waitpid(state_->pid, nullptr, 0);
  state_->pid = -1;
}

void Child::AskToStop() {
  if (state_->pid > 0) kill(state_->pid, SIGTERM);
}

bool Child::Write(const std::string& text) {
  return state_->to >= 0 &&
         write(state_->to, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

std::string Child::ReadLine(double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (true) {
    size_t end = buffer_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    pollfd entry{state_->from, POLLIN, 0};
    if (state_->from < 0 || left <= 0 || poll(&entry, 1, static_cast<int>(left)) <= 0) return "";
    char chunk[4096];
    ssize_t n = read(state_->from, chunk, sizeof chunk);
    if (n <= 0) return "";
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

void Child::CloseInput() {
  if (state_->to >= 0) close(state_->to);
  state_->to = -1;
}

ShellResult RunShell(const std::string& command, int seconds) {
  // timeout by its full path: a test may hand the shell a PATH of its own.
  std::string quoted;
  for (char c : command) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  const std::string limited =
      "/usr/bin/timeout " + std::to_string(seconds) + " /bin/sh -c '" + quoted + "'";
  ShellResult result;
  FILE* pipe = popen(limited.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace test_host
