// The process entry and start-up: the command line, the project settings, the services
// brought up in their fixed order, then the game's main routine.
#include <cstring>

#include "frame/runtime.h"
#include "quorvia/files.h"
#include "platform/platform.h"

namespace qrv {

ProjectSettings& Settings() { return TheRuntime().settings; }

const RtString& CommandLine() { return TheRuntime().commandLine; }

void (*FindNamedRoutine(const char* name))() {
  const NamedRoutine* routine = TheRuntime().routines;
  for (; routine != nullptr && routine->entry != nullptr; ++routine) {
    if (routine->name != nullptr && std::strcmp(routine->name, name) == 0) return routine->entry;
  }
  return nullptr;
}

// The command line as one text; arguments holding blanks are quoted.
static RtString JoinCommandLine(int argc, char** argv) {
  RtString line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += " ";
    bool quote = std::strchr(argv[i], ' ') != nullptr || argv[i][0] == 0;
    if (quote) line += "\"";
    line += argv[i];
    if (quote) line += "\"";
  }
  return line;
}

bool Initialise() {
  Runtime& rt = TheRuntime();
  platform::RemoveFile(ErrorLogPath().c_str());
  rt.autoPause = true;
  InitialiseTimer();
  AppendToErrorLog("Init GFX");
  rt.servicesStarted = true;

  StartMediaPacks();

  // The program's folder becomes the current directory: relative media paths resolve there.
  std::string self = platform::ExecutablePath();
  size_t slash = self.find_last_of('/');
  if (slash != std::string::npos) platform::ChangeDirectory(self.substr(0, slash));

  ResetFrameTimes();
  rt.paused = false;
  ResetFrameTimes();
  AppendToErrorLog("Init Finalized");
  return true;
}

[[noreturn]] int RunProgram(int argc, char** argv, const Program& program) {
  Runtime& rt = TheRuntime();
  rt.commandLine = JoinCommandLine(argc, argv);
  rt.routines = program.routines;
  rt.gameMain = program.main;
  if (program.settings != nullptr) program.settings(rt.settings);
  Initialise();
  rt.errorLine = 0;
  rt.lastError = 0;
  rt.sourceLine = 0;
  if (program.main != nullptr) program.main();
  End();
}

}  // namespace qrv
