// The Runtime record: the one owner of every process-wide service and of the frame's
// own state. Start-up fills it in a fixed order and shutdown empties it in another.
#pragma once

#include <cstdint>
#include <memory>

#include "quorvia/frame.h"

namespace qrv {

namespace platform {
struct HostWindow;
}

// The services, each defined by its own subsystem.
class OpenGLZozezezi;
class Zozezezi3D;
struct NetworkState;
class InputState;
class SoundDevice;
struct SoundSlotTable;
class MediaPack;
struct ChannelTable;
struct SettingsStore;
struct LineStore;

struct Runtime {
  // Project settings and the process entry's own state.
  ProjectSettings settings;
  RtString commandLine;
  const NamedRoutine* routines = nullptr;
  void (*gameMain)() = nullptr;

  // Error state.
  int32_t lastError = 0;
  int32_t errorLine = 0;
  int32_t sourceModule = 0;
  int32_t sourceLine = 0;
  bool quitStarted = false;

  // Frame flags.
  bool autoPause = true;
  bool paused = false;
  bool escapeEnds = true;
  bool activateRequest = false;
  bool startHidden = false;

  // The window's title as the game set it; the pause indicator is added to a copy.
  RtString windowTitle;
  // The window handle of the process (the device's, refreshed when the mode changes).
  platform::HostWindow* window = nullptr;

  // The game's message hook: -1 not looked up yet, 1 found, 0 the game has none.
  int32_t messageHookState = -1;
  void (*messageHook)() = nullptr;

  // Presents completed since start.
  int64_t presentCount = 0;

  // Timer state and frame times, in milliseconds on the raw timer's scale.
  bool usesCounter = false;
  double counterFrequency = 0.0;
  double timerBase = 0.0;
  double thisFrameTime = 0.0;
  double previousFrameTime = 0.0;
  double startTime = 0.0;

  // Owner pointers to the services: created by start-up, released by shutdown in the
  // fixed order (null while a service is absent).
  OpenGLZozezezi* device = nullptr;
  Zozezezi3D* engine3d = nullptr;
  NetworkState* network = nullptr;
  InputState* input = nullptr;
  SoundDevice* sound = nullptr;
  SoundSlotTable* soundSlots = nullptr;
  MediaPack* musicPack = nullptr;
  MediaPack* mainPack = nullptr;
  ChannelTable* channels = nullptr;
  SettingsStore* settingsStore = nullptr;
  LineStore* lineStore = nullptr;

  // Whether the services were brought up (shutdown releases only what start-up made).
  bool servicesStarted = false;
};

// The one Runtime of the process.
Runtime& TheRuntime();

// The graphics device, or null while there is none (the commands then do nothing).
inline OpenGLZozezezi* Device() {
  return TheRuntime().device;
}

// Start-up: brings up every service in order. False when the window cannot be made.
bool Initialise();
// Makes the program's own folder the current directory (start-up, and again at shutdown).
void EnterProgramFolder();

// --- Timers ---------------------------------------------------------------------------
void InitialiseTimer();
void ResetFrameTimes();

// --- The frame loop ---------------------------------------------------------------------
using MessageHook = void (*)();
// The game's QRV_WIN32_MSG, looked up once; null when the game has none.
MessageHook LookUpMessageHook();
// Hands every waiting host event to the window procedure, calling the hook before each
// one when there is a hook. Always 1.
int32_t PumpMessages(MessageHook hook);
// Enters or leaves the paused state; the title shows " <pause>" while paused.
void SetPaused(bool paused);
// Swaps the buffers, clears the new back buffer and paces to the next deadline. Always 1.
int32_t Flip(OpenGLZozezezi& device, MessageHook hook);
// Ends the program on Escape (while it may) or Alt+F4; present and the waits apply it.
void CheckEndingKeys();

// --- Automation hooks (environment) ------------------------------------------------------
struct AutomationHooks {
  int64_t frameLimit = 0;  // QRV_FRAMES: end after this many presents (0: never)
  bool unpaced = false;    // QRV_UNPACED: present never sleeps or waits
  bool replaying = false;  // QRV_REPLAY: keys come from a file, focus does not matter
};
const AutomationHooks& Automation();
// True when nobody may be at the screen: no dialog may wait for a click.
bool UnattendedRun();
// Counts one present; ends the program when QRV_FRAMES is reached.
void CountPresent();

// Writes a failure's report line, as RecordError does, without recording an error: for
// commands that answer failures through codes of their own (the network's).
void ReportFailure(const ErrorContext& context);

}  // namespace qrv
