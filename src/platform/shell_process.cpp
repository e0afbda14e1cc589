// Other programs: shell command lines, run with or without waiting, and the desktop's
// opener for documents and addresses.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/host_services.h"

extern char** environ;

namespace qrv::platform {

// The shell's part: check the program, report the start on descriptor 3, then run the
// command line with empty positional parameters, in the foreground or detached.
static const char kRunScript[] =
    "if [ -n \"$1\" ]; then\n"
    "  case $1 in\n"
    "    */*) [ -f \"$1\" ] && [ -x \"$1\" ] || exit 127 ;;\n"
    "    *) command -v -- \"$1\" >/dev/null 2>&1 || exit 127 ;;\n"
    "  esac\n"
    "fi\n"
    "printf s >&3\n"
    "exec 3>&-\n"
    "qrv_command=$2 qrv_wait=$3\n"
    "set --\n"
    "if [ \"$qrv_wait\" = wait ]; then eval \"$qrv_command\"; else (eval \"$qrv_command\") & fi\n";

// Repeats a system call that a signal interrupted.
template <typename Call>
static auto RetryInterrupted(Call call) {
  auto result = call();
  while (result < 0 && errno == EINTR) result = call();
  return result;
}

static int WaitForChild(pid_t child) {
  int status = 0;
  pid_t result = RetryInterrupted([&] { return waitpid(child, &status, 0); });
  if (result != child) return 0;  // already reaped elsewhere (SIGCHLD ignored)
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 0;
}

// Whether the shell wrote its start mark before closing descriptor 3.
static bool ReadStartMark(int handle) {
  char mark = 0;
  ssize_t count = RetryInterrupted([&] { return read(handle, &mark, 1); });
  return count == 1 && mark == 's';
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

static void DiscardStandardStreams(posix_spawn_file_actions_t& actions) {
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
}

ShellRun RunShellCommand(const std::string& commandLine, const std::string& program, bool wait,
                         bool show) {
  ShellRun run;
  int startPipe[2];
  if (pipe2(startPipe, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, startPipe[1], 3);
  if (!show) DiscardStandardStreams(actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 4);
  const char* argv[] = {"sh",
                        "-c",
                        kRunScript,
                        "sh",
                        program.c_str(),
                        commandLine.c_str(),
                        wait ? "wait" : "detach",
                        nullptr};
  pid_t child = 0;
  CleanSignals signals;
  int failed = posix_spawn(&child, "/bin/sh", &actions, &signals.attributes,
                           const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(startPipe[1]);
  if (failed != 0) {
    close(startPipe[0]);
    return run;
  }
  run.started = ReadStartMark(startPipe[0]);
  close(startPipe[0]);
  // Detached, the shell ends as soon as the command runs in the background; reaping it
  // here leaves no child behind in either case.
  int status = WaitForChild(child);
  if (run.started && wait) run.exitCode = status;
  return run;
}

bool OpenWithDesktop(const std::string& target) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  const char* argv[] = {"xdg-open", target.c_str(), nullptr};
  pid_t child = 0;
  CleanSignals signals;
  int failed = posix_spawnp(&child, "xdg-open", &actions, &signals.attributes,
                            const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0;
}

}  // namespace qrv::platform
