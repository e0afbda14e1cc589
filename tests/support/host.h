// What the tests need from the machine they run on: scratch folders, environment variables,
// child processes, the machine's shell, resource limits and peak memory. One implementation
// per host (support/posix/, support/windows/); the tests themselves name no host.
//
// On Windows the tests run under Wine, on the same machine as the Linux tools they call
// (X tools, image and sound tools, Python): RunShell hands a command to that machine's shell.
// Paths under TempRoot() name the same folder for a test, the programs it starts and the
// shell's tools.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace test_host {

bool IsWindows();

// A built program's file: path + ".exe" on Windows.
std::string Executable(const std::string& path);
// The same program as the machine's shell starts it (quoted; through Wine on Windows).
std::string ShellProgram(const std::string& path);

void SetVariable(const std::string& name, const std::string& value);
void UnsetVariable(const std::string& name);
// The variable that names the temporary folder: TMPDIR, or TMP on Windows.
std::string TempFolderVariable();
// Where scratch folders go: "/tmp" on both hosts.
std::string TempRoot();

// The most memory this process has held so far, in bytes (0 when the host cannot say).
std::int64_t PeakMemoryBytes();

// Limits on this process (false when the host keeps none; then a test of them is skipped).
bool CanLimitResources();
bool LimitFileSize(std::int64_t bytes);
bool LimitAddressSpace(std::int64_t bytes);

// A loopback port nobody uses right now.
int FreePort(bool datagram = false);

// TCP sockets of the host on loopback, for tests that play a peer byte by byte. A handle is
// -1 when there is none.
using RawSocket = std::int64_t;
RawSocket RawListener(int backlog, int* port);  // at a port the host picks
RawSocket RawConnect(int port, int receiveBuffer = 0);
RawSocket RawAccept(RawSocket listener, double seconds);
bool RawSend(RawSocket socket, const std::string& bytes);
// Bytes that arrived within `seconds` (at most `size`); 0 when the peer closed, -1 on an
// error, -2 when nothing came.
long RawReceive(RawSocket socket, char* buffer, std::size_t size, double seconds);
void RawClose(RawSocket socket);

struct ShellResult {
  int status = -1;  // the exit code; 124 when it ran past the limit, -1 when it never ran
  std::string out;  // standard output
};
// Runs command with the machine's /bin/sh and waits for at most `seconds`.
ShellResult RunShell(const std::string& command, int seconds = 120);
// Standard output of a shell command without its trailing line breaks.
std::string Shell(const std::string& command);

// A fresh folder under TempRoot(), removed with everything in it when the object ends.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix = "qrv-test");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

struct ChildOptions {
  std::string folder;                                     // start folder ("" keeps ours)
  std::vector<std::pair<std::string, std::string>> env;  // set in the child
  std::vector<std::string> unset;                         // removed from the child's
  std::string outputFile;                                 // "" discards standard output
  std::string errorFile;                                  // "" discards standard error
  bool errorsWithOutput = false;  // standard error goes where standard output goes
  bool piped = false;             // standard input and output are pipes to us
};

// A program started with explicit arguments (argv[0] is the program's file).
class Child {
 public:
  Child(const std::vector<std::string>& argv, const ChildOptions& options);
  ~Child();  // kills it when it still runs
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const;
  // True when it ended within `seconds`; its exit code (-1 when it did not end normally).
  bool Exited(double seconds, int* code = nullptr);
  // The exit code, or -1 when it did not end within `seconds` (it keeps running).
  int Wait(double seconds);
  void Kill();
  // Asks it to end as the host's session manager would (SIGTERM; on Windows, WM_CLOSE to
  // its windows).
  void AskToStop();

  // With `piped`: a line to its standard input, a line from its output ("" when none came).
  bool Write(const std::string& text);
  std::string ReadLine(double seconds);
  void CloseInput();

  struct State;

 private:
  State* state_;
  std::string buffer_;
};

// Runs a program to its end (killed after `seconds`); its exit code, 124 on the time limit.
int RunProgram(const std::vector<std::string>& argv, const ChildOptions& options = {},
               double seconds = 120);
// The same, with its standard output (and standard error) as text.
ShellResult RunCapturing(const std::vector<std::string>& argv, ChildOptions options = {},
                         double seconds = 120);

// A value a death test's child shares with its parent. On Windows the child is the test
// program started again, which sets the test up again: the first call makes the value with
// `make` and hands it on in the environment variable `name`, where the child's call finds it.
std::string SharedWithDeathTests(const std::string& name, const std::function<std::string()>& make);

// A symbolic link at `link` to `target`; false when the host makes none (Wine does not).
bool MakeLink(const std::string& target, const std::string& link);

// Whether two paths name the same existing file, however each is spelled (Windows answers
// with drive letters and in the spelling it was asked for).
bool SameFile(const std::string& a, const std::string& b);

// A console program's output with the host's line ends made "\n" (Windows programs end
// their lines with CR LF).
std::string ConsoleText(std::string text);

// Words split as the shell splits them: spaces separate, single and double quotes group.
std::vector<std::string> SplitWords(const std::string& text);

}  // namespace test_host
