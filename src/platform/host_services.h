// The host services behind the runtime's platform information and external calls: the
// host's own facts, the environment, the console streams, local time, the power supply,
// GL entry points, shared libraries and other programs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qrv::platform {

// --- The host system ----------------------------------------------------------------------

// The host's name as the platform information gives it for the empty key ("LINUX",
// "WIN32").
const char* HostSystemName();
// The machine's 32-bit serial number: the same on every run on one installation.
uint32_t MachineSerial();
// The language of the user's interface as a language identifier (0x407 German, ...);
// 0 when the host's setting names no language known here.
uint32_t UserLanguage();
// The user's documents folder; empty when the host names none.
std::string DocumentsFolder();

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

// --- Time, power ------------------------------------------------------------------------

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime CurrentLocalTime();

struct PowerSupply {
  bool hasBattery = false;
  int percent = -1;  // -1: the charge is unknown
};
PowerSupply CurrentPowerSupply();

// --- The current GL context -----------------------------------------------------------

struct GlContextFacts {
  int version = 0;  // major * 10 + minor
  bool coreProfile = false;
};
// False when no GL context is current.
bool CurrentGlContext(GlContextFacts& facts);
// Whether the current context's extension list names the extension (the whole name).
bool GlExtensionListed(const std::string& extension);
// Whether the driver's lookup hands out an entry point for the name.
bool GlEntryPoint(const char* name);

// --- Shared libraries -------------------------------------------------------------------

// A handle for the library of that name (searched as the host's loader searches), or
// null with the loader's reason. Handles stay valid until the process ends.
void* LoadSharedLibrary(const char* name, std::string& failure);
// The address of the named function, null when the library has none.
void* SharedLibraryFunction(void* library, const char* name);

// --- Other programs -----------------------------------------------------------------------

// The standard streams a started program gets: this process's console, its console
// without the input (stdin is /dev/null), or /dev/null for all three.
enum class Streams { Shared, OutputOnly, Hidden };

struct ProgramRun {
  bool started = false;
  int exitCode = 0;     // when waited for: the exit status (128 + signal for a killed program)
  std::string failure;  // why it did not start
};
// Splits the command line into arguments (platform/command_line.h) and starts the
// program the first one names, searched on PATH when it holds no '/', with the others as
// its arguments. No shell reads the line. With `wait` the call returns when the program
// has ended; without, it runs on and is reaped when it ends, never left as a zombie. No
// descriptor of this process but the chosen standard streams is passed on.
ProgramRun RunCommandLine(const std::string& commandLine, Streams streams, bool wait);
// Hands a path or address to the desktop's opener, not waited for. False with the reason
// when the opener cannot be started.
bool OpenWithDesktop(const std::string& target, std::string& failure);

}  // namespace qrv::platform
