// The application frame: process entry, the project settings, the error state and the
// error log, END (the run-time error stop), and shutdown. The window, the frame loop
// and the timers belong here too.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

// The project settings record: what a game program asks of the runtime before anything runs.
struct ProjectSettings {
  int32_t screenWidth = 640;
  int32_t screenHeight = 480;
  int32_t frameRate = 60;          // 0 or less: a 2 ms frame interval
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
// services, runs the main routine and ends through END. Never returns.
[[noreturn]] int RunProgram(int argc, char** argv, const Program& program);

// The project settings in force (valid once RunProgram has applied them).
ProjectSettings& Settings();

// The process command line as it was given, program name included.
const RtString& CommandLine();

// Looks a routine up by its exact, case-sensitive name; null when the game has none.
void (*FindNamedRoutine(const char* name))();

// --- Error state -------------------------------------------------------------------

// Records an error code (truncated toward zero) with the current source line; returns code.
double RecordError(double code);
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

// Appends one line (CR LF ended) to ErrorLog.txt in the temporary folder.
void AppendToErrorLog(const char* text);
RtString ErrorLogPath();

}  // namespace qrv
