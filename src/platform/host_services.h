// The host services behind the runtime's platform information and external calls: the
// environment, the console streams, local time, small text files, the power supply,
// GL entry points, shared libraries and shell commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qrv::platform {

// --- Environment ----------------------------------------------------------------------

// The value of the variable, or false when it is unset.
bool EnvironmentValue(const char* name, std::string& value);
// Every entry as "NAME=value", in the environment's order.
std::vector<std::string> EnvironmentEntries();
// Sets (overwriting) or removes the variable. False when the host refuses the name.
bool SetEnvironmentValue(const char* name, const char* value);
bool RemoveEnvironmentValue(const char* name);

// --- Console streams ------------------------------------------------------------------

// Writes the bytes and flushes, so the text shows before anything the program does next.
void WriteStandardOutput(const char* bytes, size_t count);
void WriteStandardError(const char* bytes, size_t count);
// Reads one line (at most size - 1 bytes, the '\n' kept) into buffer. False at the end
// of the input.
bool ReadStandardInputLine(char* buffer, int size);

// --- Time, files, power -----------------------------------------------------------------

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime CurrentLocalTime();

// The first `limit` bytes of a file; false when it cannot be read.
bool ReadSmallTextFile(const std::string& path, size_t limit, std::string& text);

struct PowerSupply {
  bool hasBattery = false;
  int percent = -1;  // -1: the charge is unknown
};
PowerSupply CurrentPowerSupply();

// True when a GL context is current and its driver has an entry point of that exact
// name that belongs to the GL interface.
bool GlFunctionProvided(const char* name);

// --- Shared libraries -------------------------------------------------------------------

// A handle for the library of that name (searched as the host's loader searches), or
// null. Handles stay valid until the process ends.
void* LoadSharedLibrary(const char* name);
// The address of the named function, null when the library has none.
void* SharedLibraryFunction(void* library, const char* name);

// --- Other programs -----------------------------------------------------------------------

struct ShellRun {
  bool started = false;
  int exitCode = 0;  // when waited for: the exit status (128 + signal for a killed command)
};
// Runs the command line through /bin/sh. Before anything of it runs, the shell checks
// that `program` can be run (a builtin, a function, a program on PATH, or an executable
// file when it holds a '/'); when it cannot, the command does not start. An empty
// `program` skips the check. With `wait` the call returns when the command has ended;
// without, the command runs detached and leaves no child behind. With `show` false the
// command's standard streams are /dev/null. No descriptor of this process but the
// standard streams is passed on.
ShellRun RunShellCommand(const std::string& commandLine, const std::string& program, bool wait,
                         bool show);
// Hands a path or address to the desktop's opener (xdg-open), not waited for.
bool OpenWithDesktop(const std::string& target);

}  // namespace qrv::platform
