// The host's file dialogs: zenity, else kdialog, run as a child process whose standard
// output is the chosen path. Without either program every dialog counts as cancelled.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/window_host.h"

extern char** environ;

namespace qrv::platform {

using FilterList = std::vector<std::pair<std::string, std::string>>;

// "*.bmp;*.png" as the dialogs want it: "*.bmp *.png".
static std::string Patterns(const std::string& patterns) {
  std::string spaced = patterns;
  for (char& c : spaced) {
    if (c == ';') c = ' ';
  }
  return spaced;
}

static std::vector<std::string> ZenityArguments(bool open, const FilterList& filter,
                                                const std::string& folder) {
  std::vector<std::string> args = {"zenity", "--file-selection", "--filename=" + folder + "/"};
  if (!open) {
    args.push_back("--save");
    args.push_back("--confirm-overwrite");
  }
  for (const auto& [description, patterns] : filter) {
    args.push_back("--file-filter=" + description + " | " + Patterns(patterns));
  }
  return args;
}

static std::vector<std::string> KdialogArguments(bool open, const FilterList& filter,
                                                 const std::string& folder) {
  std::string filters;
  for (const auto& [description, patterns] : filter) {
    if (!filters.empty()) filters += "\n";
    filters += Patterns(patterns) + "|" + description;
  }
  return {"kdialog", open ? "--getopenfilename" : "--getsavefilename", folder + "/", filters};
}

// Runs a program found on PATH, collecting its standard output. Returns its exit status,
// or -1 when it cannot be started.
static int RunForOutput(const std::vector<std::string>& args, std::string* output) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  char buffer[1024];
  for (;;) {
    ssize_t n = failed == 0 ? read(pipeEnds[0], buffer, sizeof buffer) : 0;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output->append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  if (failed != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FileDialog(bool open, const FilterList& filter, const std::string& folder) {
  std::string path;
  int status = RunForOutput(ZenityArguments(open, filter, folder), &path);
  // 127: the child could not run the program.
  if (status == -1 || status == 127) {
    path.clear();
    status = RunForOutput(KdialogArguments(open, filter, folder), &path);
  }
  if (status != 0) return std::string();
  while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
  return path;
}

}  // namespace qrv::platform
