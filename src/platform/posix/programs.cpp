// Other programs: a command line split into arguments and started directly (no shell
// reads it), waited for or left to run, and the desktop's opener for documents and
// addresses.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/command_line.h"
#include "platform/host_services.h"

extern char** environ;

namespace qrv::platform {

namespace {

// Repeats a system call that a signal interrupted.
template <typename Call>
auto RetryInterrupted(Call call) {
  auto result = call();
  while (result < 0 && errno == EINTR) result = call();
  return result;
}

int WaitForChild(pid_t child) {
  int status = 0;
  pid_t result = RetryInterrupted([&] { return waitpid(child, &status, 0); });
  if (result != child) return 0;  // already reaped elsewhere (SIGCHLD ignored)
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

// A program left to run is reaped by a thread of its own when it ends, so it never
// stays behind as a zombie. Without a thread to spare it stays until the game ends.
void ReapWhenDone(pid_t child) {
  try {
    std::thread([child] { WaitForChild(child); }).detach();
  } catch (const std::system_error&) {
  }
}

// Started programs begin with every signal at its default and none blocked, whatever
// this process ignores or blocks.
struct CleanSignals {
  CleanSignals() {
    posix_spawnattr_init(&attributes);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  }
  ~CleanSignals() { posix_spawnattr_destroy(&attributes); }
  posix_spawnattr_t attributes;
};

// The standard streams a program gets; no other descriptor of this process reaches it.
struct StreamActions {
  explicit StreamActions(Streams streams) {
    posix_spawn_file_actions_init(&actions);
    if (streams != Streams::Shared) {
      posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    }
    if (streams == Streams::Hidden) {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  }
  ~StreamActions() { posix_spawn_file_actions_destroy(&actions); }
  posix_spawn_file_actions_t actions;
};

// Starts the program arguments[0] names (searched on PATH when it holds no '/'); 0 and
// the child's id, or the error number.
int Spawn(const std::vector<std::string>& arguments, Streams streams, pid_t& child) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  StreamActions actions(streams);
  CleanSignals signals;
  return posix_spawnp(&child, argv[0], &actions.actions, &signals.attributes, argv.data(), environ);
}

}  // namespace

ProgramRun RunCommandLine(const std::string& commandLine, Streams streams, bool wait) {
  ProgramRun run;
  std::vector<std::string> arguments = SplitCommandLine(commandLine);
  if (arguments.empty() || arguments[0].empty()) {
    run.failure = "no program named";
    return run;
  }
  pid_t child = 0;
  if (int error = Spawn(arguments, streams, child); error != 0) {
    run.failure = arguments[0] + ": " + std::strerror(error);
    return run;
  }
  run.started = true;
  if (wait) {
    run.exitCode = WaitForChild(child);
  } else {
    ReapWhenDone(child);
  }
  return run;
}

bool OpenWithDesktop(const std::string& target, std::string& failure) {
  pid_t child = 0;
  if (Spawn({"xdg-open", target}, Streams::Shared, child) != 0) {
    failure = "xdg-open cannot be started";
    return false;
  }
  ReapWhenDone(child);
  return true;
}

}  // namespace qrv::platform
