// The host outside files: the platform information keys, the process environment, the
// console streams, other programs and documents, functions of shared libraries by name,
// the game's own routines by name, the debug channel and the assertion check.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

// --- Platform information -------------------------------------------------------------

// The answer to a key, compared without regard to case; "NO_DATA" for unknown keys.
//   ""            "LINUX": the host this program runs on
//   "GLEXT:name"  "1" when the GL driver of the current context has the function name
//                 (letter case as given), else "0"
//   "ID"          8 upper-case hex digits identifying the machine
//   "DEVICE"      "DESKTOP"
//   "TIME"        local time as "YYYY-MM-DD HH:MM:SS"
//   "BATTERY"     the charge in percent ("100" when the charge is unknown), "NO_DATA"
//                 when the machine runs without a battery
//   "COMPILED"    the build's date and time, "Mmm dd yyyy-hh:mm:ss"
//   "HOSTID"      8 lower-case hex digits identifying the build
//   "LOCALE"      the two-letter code of the user's language (see docs/host.md)
//   "DOCUMENTS"   the user's documents folder, "NO_DATA" when none is configured
RtString PlatformInfo(const RtString& key);

// --- Environment and console ------------------------------------------------------------

// The variable's value, empty when unset. An empty name gives every entry as
// "NAME=value\n", one after the other.
RtString GetEnvironment(const RtString& name);
// Sets the variable; an empty value removes it. A name that is empty or holds '=' is
// refused (nothing changes).
void SetEnvironment(const RtString& name, const RtString& value);

// The text up to its first zero byte, to standard output / standard error.
void ConsoleWrite(const RtString& text);
void ConsoleWriteError(const RtString& text);
// One line of standard input (at most 4095 bytes; a longer line is delivered in pieces),
// without its line break. Empty at the end of the input.
RtString ConsoleReadLine();

// --- Other programs -----------------------------------------------------------------------

// Shuts the runtime down, hands the path or address to the desktop's opener, then ends
// the program through END. Never returns.
[[noreturn]] void OpenDocument(const RtString& target);

// Splits the command line into arguments (blanks separate, double quotes group,
// backslashes before a quote escape it) and starts the program the first one names,
// searched on PATH when it holds no '/'; no shell reads the line. 1 when the program
// started, 0 when it could not (none named, not found, not executable). exitCode is set
// to 0 first; with wait non-zero (NaN included) the call returns when the program has
// ended and exitCode holds its exit status. With show 0 the program's console streams
// are discarded. The command text is never changed.
double RunProcess(const RtString& commandLine, double wait, double show, double& exitCode);

// --- Libraries and routines by name -------------------------------------------------------

// Loads the shared library (once per process; the name is loaded as given) and stores
// the address of the named function in destination, null when the library lacks it.
// A library that cannot be loaded (the empty name too) leaves destination unchanged and
// says so on the debug channel.
void ExternalFunction(const RtString& library, const char* function, void*& destination);
// The same for a typed function pointer.
template <typename Function>
void ExternalFunction(const RtString& library, const char* function, Function*& destination) {
  void* address = reinterpret_cast<void*>(destination);
  ExternalFunction(library, function, address);
  destination = reinterpret_cast<Function*>(address);
}

// Calls the game's routine of that exact name: 1 when found and called, else 0.
double CallByName(const RtString& name);

// --- Debugging --------------------------------------------------------------------------

// Sends "TX" + text to the debug channel: standard error, while a debugger traces the
// process or QRV_DEBUG=1 is set; otherwise nothing.
void DebugOutput(const RtString& text);
// Nothing when condition is non-zero; otherwise a debug line, error 21 and END.
void Assert(int32_t condition);

}  // namespace qrv
