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
// Full path of the running program, with "/" between folders on every host. In the browser:
// the file the page loads the program's media pack into ("/pack/program"; absent when the
// program has none).
std::string ExecutablePath();
// The folder the program runs in, its current directory from start-up on: the program
// file's folder; in the browser "/app", the folder the page keeps across visits.
std::string ProgramFolder();
std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);
// Removes a file (a link is removed itself, never its target). True when it is gone.
bool RemoveFile(const std::string& path);
// Appends text and CR LF to a file of ours, creating it when missing. Never follows a
// link and never writes into a file that another user owns or that is not a regular file.
// False when the file cannot be had right now (busy or refused).
bool AppendLineNoFollow(const std::string& path, const char* text);
// Shows a line of the error log where the host shows a program's messages: nowhere on the
// desktop (the log file is the place); in the browser, the console.
void EchoLogLine(const char* text);

// --- Time ----------------------------------------------------------------------------

// The high-resolution counter and its frequency (counts per second).
uint64_t CounterValue();
uint64_t CounterFrequency();
// Milliseconds since some fixed point, wrapping at 2^32.
uint32_t TickCount();
// Waits ms milliseconds (none for 0 or less). In the browser the page runs meanwhile.
void SleepMilliseconds(int32_t ms);
// The host's turn after a frame is shown: nothing on the desktop; in the browser the page
// shows the frame and handles its events, waiting for the browser's next frame when paced.
void GiveHostTurn(bool paced);

// --- Threads -------------------------------------------------------------------------

// Whether the host can run threads beside the main one (the browser build has none).
bool CanStartThreads();

}  // namespace qrv::platform
