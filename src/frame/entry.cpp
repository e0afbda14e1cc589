// The process entry and start-up: the command line, the project settings, the services
// brought up in their fixed order, then the game's main routine.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/window_host.h"
#include "quorvia/files.h"
#include "quorvia/input.h"
#include "quorvia/net.h"
#include "quorvia/scene3d.h"
#include "quorvia/sound.h"
#include "quorvia/values.h"

namespace qrv {

ProjectSettings& Settings() {
  return TheRuntime().settings;
}

const RtString& CommandLine() {
  return TheRuntime().commandLine;
}

void (*FindNamedRoutine(const char* name))() {
  const NamedRoutine* routine = TheRuntime().routines;
  for (; routine != nullptr && routine->entry != nullptr; ++routine) {
    if (routine->name != nullptr && std::strcmp(routine->name, name) == 0) return routine->entry;
  }
  return nullptr;
}

// The graphics device with its window and GL context; the window gets the title.
static bool CreateDevice() {
  Runtime& rt = TheRuntime();
  const ProjectSettings& settings = rt.settings;
  rt.device = new OpenGLZozezezi();
  if (!rt.device->CreateWindowAndContext(settings.screenWidth, settings.screenHeight, 0,
                                         settings.frameRate, settings.multisampleSamples)) {
    return false;
  }
  rt.window = rt.device->window;
  platform::SetWindowTitle(rt.window, settings.title.c_str());
  rt.windowTitle = settings.title;
  return true;
}

static void PlaceWindow() {
  Runtime& rt = TheRuntime();
  if (rt.settings.fullscreen != 0) {
    rt.device->EnterFullscreen();
  } else {
    rt.device->ShowWindowed();
  }
}

// The first frame: a cleared window, flipped once, then the default 2D state; then the
// default font.
static void DrawFirstFrame() {
  Runtime& rt = TheRuntime();
  Flip(*rt.device, nullptr);
  rt.device->SetDefault2DState(0, 0, 0, 0);
  rt.device->StartDefaultFont();
}

// The program's folder becomes the current directory: relative media paths resolve there.
void EnterProgramFolder() {
  std::string folder = platform::ProgramFolder();
  if (!folder.empty()) platform::ChangeDirectory(folder);
}

bool Initialise() {
  Runtime& rt = TheRuntime();
  platform::RemoveFile(ErrorLogPath().c_str());
  // Before the folder changes: the hooks' paths belong to the folder the program started in.
  CheckAutomationHooks();
  rt.autoPause = true;
  InitialiseTimer();
  AppendToErrorLog("Init GFX");
  rt.servicesStarted = true;
  if (!platform::InitVideo()) {
    // Said where the user looks: a program without a window would otherwise just end.
    std::fprintf(stderr, "no display\n");
    return false;
  }
  // The input devices start first: the host library starts its parts one at a time. Then
  // the sound device opens beside the window and GL set-up and the first frame (slow where
  // there is no device to find); the first sound command waits for it, and without a device
  // the program runs silently.
  CreateInput();
  StartInputDevices();
  CreateSoundDevice();
  StartOpeningSound();
  if (!CreateDevice()) return false;
  SeedRandom(static_cast<int32_t>(platform::TickCount()));  // RawTimer() reads ~0 here
  CreateNetworkState();
  CreateScene3D();
  PlaceWindow();
  InitInput(rt.settings.mouseCapture != 0);
  SetSoundWindow();

  StartMediaPacks();

  EnterProgramFolder();

  ResetFrameTimes();
  DrawFirstFrame();
  rt.paused = false;
  ResetFrameTimes();
  if (rt.startHidden) rt.device->HideWindow();
  ShowSystemPointer(rt.settings.mouseCapture == 0);
  AppendToErrorLog("Init Finalized");
  return true;
}

// The host's "start hidden" show command: QRV_START_HIDDEN set to anything but 0.
static bool StartHidden() {
  const char* flag = std::getenv("QRV_START_HIDDEN");
  return flag != nullptr && *flag != 0 && std::strcmp(flag, "0") != 0;
}

[[noreturn]] int RunProgram(int argc, char** argv, const Program& program) {
  Runtime& rt = TheRuntime();
  rt.commandLine = RtString(platform::JoinCommandLine(argc, argv).c_str());
  rt.routines = program.routines;
  rt.gameMain = program.main;
  if (program.settings != nullptr) program.settings(rt.settings);
  rt.startHidden = StartHidden();
  if (!Initialise()) {
    // Every drawing and input service needs the window: without it the program cannot run,
    // and a caller must be able to tell that it did not.
    AppendToErrorLog("No window or OpenGL context available");
    ShutdownAndExit(kExitNoWindow);
  }
  rt.errorLine = 0;
  rt.lastError = 0;
  rt.sourceLine = 0;
  if (program.main != nullptr) program.main();
  End();
}

}  // namespace qrv
