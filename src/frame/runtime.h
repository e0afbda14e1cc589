// The Runtime record: the one owner of every process-wide service and of the frame's
// own state. Start-up fills it in a fixed order and shutdown empties it in another.
#pragma once

#include <cstdint>
#include <memory>

#include "quorvia/frame.h"

namespace qrv {

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

// Start-up: brings up every service in order. False when the window cannot be made.
bool Initialise();

// --- Timers ---------------------------------------------------------------------------
void InitialiseTimer();
// Milliseconds since the timer base; the first call takes the base and returns 0.
double RawTimer();
void ResetFrameTimes();

}  // namespace qrv
