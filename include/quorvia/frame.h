// The application frame: process entry, the project settings, the error state and the
// error log, END (the run-time error stop), and shutdown. The window, the frame loop
// and the timers belong here too.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorvia/rt_string.h"

namespace qrv {

// The project settings record: what a game program asks of the runtime before anything runs.
struct ProjectSettings {
  int32_t screenWidth = 640;
  int32_t screenHeight = 480;
  int32_t frameRate = 60;  // 0 or less: a 2 ms frame interval
  int32_t fullscreen = 0;
  int32_t multisampleSamples = 0;  // 0: no multisampling
  int32_t debugFlag = 0;           // END writes diagnostic lines; focus loss never pauses
  int32_t mouseCapture = 0;        // hide the system pointer and own the mouse
  RtString title = "Quorvia";
};

// One entry of the game's table of named routines; the table ends with a null entry.
struct NamedRoutine {
  void (*entry)();
  const char* name;
};

// What a game program hands to the runtime.
struct Program {
  void (*settings)(ProjectSettings&);  // fills in the project settings
  void (*main)();                      // the game's main routine
  const NamedRoutine* routines;        // may be null: no named routines
};

// The process entry: stores the command line, applies the settings, brings up the
// services (the program's own folder becomes the current directory), runs the main
// routine and ends through END. Never returns. Without a window or GL context it shuts
// down and exits with status 1; an automation hook (QRV_FRAMES, QRV_REPLAY, ...) whose
// value cannot be used ends it with status 2.
[[noreturn]] int RunProgram(int argc, char** argv, const Program& program);

// The project settings in force (valid once RunProgram has applied them).
ProjectSettings& Settings();

// The process command line as it was given, program name included. Arguments that are
// empty or hold a blank, tab, line break or '"' stand in double quotes, with \" for each
// '"' and the backslashes before a '"' doubled, so that splitting gives them back.
const RtString& CommandLine();

// Looks a routine up by its exact, case-sensitive name; null when the game has none.
void (*FindNamedRoutine(const char* name))();

// --- Timers and the frame ---------------------------------------------------------

// Milliseconds since the timer base; the first call takes the base and returns 0.
double RawTimer();
// Milliseconds since start-up finished.
double GameTime();
// Milliseconds between the last two presents; 1.0 when that is not positive.
double FrameTime();
// Frames per second, truncated toward zero; 0 or less paces at a 2 ms interval.
void SetFrameRate(double fps);

// The once-per-frame call after drawing: shows the frame, paces to the frame rate,
// handles the window's messages, waits while paused, ends on Escape, Alt+F4 or a closed
// window, and starts the next frame from the default 2D state.
void Present();
// Whether losing the focus pauses the game (title shows " <pause>"); on at start.
void AutoPause(int32_t flag);
// Whether Escape ends the program; on at start.
void AllowEscape(double flag);

// --- Screen and viewport -----------------------------------------------------------

// Switches the display: a centred window, or fullscreen in the mode width x height
// (windowed when the display has no such mode). Presents 5 times to show the frame.
void SetScreen(int32_t width, int32_t height, int32_t fullscreen);
// 1 while the program runs fullscreen, else 0.
int32_t IsFullscreen();
// The logical screen size (exchanged while the display is turned).
void GetScreenSize(int32_t& width, int32_t& height);
void GetScreenSize(double& width, double& height);
// The 2D drawing area with a top-left origin; w or h of 0 or less means the full window.
void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h);
void GetViewport(int32_t& x, int32_t& y, int32_t& w, int32_t& h);
void GetViewport(double& x, double& y, double& w, double& h);

// The host's open (open non-zero) or save dialog. The filter is "description|patterns"
// pairs joined by "|", patterns separated by ";". Returns the chosen path with "/"
// separators, or "NO_FILE" when cancelled or when the host has no dialog.
RtString FileDialog(int32_t open, const RtString& filter);

// With a debugger attached: sends "BP<value in hex>", resumes a paused game and brings the
// window to the front at the next present. 0 when no debugger is attached.
int32_t DebuggerBreakpoint(int32_t value);

// --- Error state -------------------------------------------------------------------

// Records an error code (truncated toward zero) with the current source line; returns code.
double RecordError(double code);
// What a failed command was about: its name, the file it was given and why it failed.
// Empty parts are left out of the report; an empty reason gives the code's own text.
struct ErrorContext {
  std::string_view command;
  std::string_view file;
  std::string_view reason;
};
// Records the code as above. With QRV_VERBOSE=1, or while the settings' debug flag is set,
// every error recorded (with a context or without) is also written to standard error as
// one line: "LoadSprite: Media/missing.png: no such file".
double RecordError(double code, const ErrorContext& context);
// With QRV_VERBOSE=1 (or the debug flag), writes the line of a failure that records no
// error code, in the same form: "RunProcess: qrv_missing: No such file or directory".
void ReportFailure(const ErrorContext& context);
void ClearError();
int32_t LastError();
int32_t ErrorLine();
void SetSourcePosition(int32_t module, int32_t line);
// "%.4d %s": the last error code as four digits and its text.
RtString ErrorText();

// Records the code and stops the program through END. For every fatal check.
[[noreturn]] void ErrorStop(int32_t code);

// The run-time error stop: diagnostic lines, shutdown, exit code 0. Never returns.
[[noreturn]] void End();

// The release sequence; calls QRV_ON_QUIT once per process. Returns to its caller.
void Shutdown();

// Shuts down, starts the command line as a new process (not waited for), exits with 0.
[[noreturn]] void EndAndRun(const RtString& commandLine);

// Appends one line (CR LF ended) to ErrorLog.txt in the temporary folder.
void AppendToErrorLog(const char* text);
RtString ErrorLogPath();

}  // namespace qrv
