// The host layer: the only code of the runtime that talks to SDL and POSIX.
// Everything else calls these functions.
#pragma once

#include <cstdint>
#include <string>

namespace qrv::platform {

// --- Files and folders ---------------------------------------------------------------

// The user's temporary folder ($TMPDIR, else /tmp; on Windows the system's temporary
// path), always ending in a folder separator.
std::string TempFolder();
// The environment variable that, set, moves TempFolder() ("TMPDIR", on Windows "TMP").
const char* TempFolderVariable();
// Full path of the running program, with "/" between folders on every host.
std::string ExecutablePath();
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);
// Removes a file (a link is removed itself, never its target). True when it is gone.
bool RemoveFile(const std::string& path);
// Appends text and CR LF to a file of ours, creating it when missing. Never follows a
// link and never writes into a file that another user owns or that is not a regular file.
// False when the file cannot be had right now (busy or refused).
bool AppendLineNoFollow(const std::string& path, const char* text);

// --- Time ----------------------------------------------------------------------------

// The high-resolution counter and its frequency (counts per second).
uint64_t CounterValue();
uint64_t CounterFrequency();
// Milliseconds since some fixed point, wrapping at 2^32.
uint32_t TickCount();
void SleepMilliseconds(int32_t ms);

}  // namespace qrv::platform
