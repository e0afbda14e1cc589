// A runtime program for the frame's whole-process tests. It presents frames forever and
// writes the number of presents to $TMPDIR/presents after each one. Options:
//   --return        the main routine returns at once
//   --debug         debug flag on
//   --quit-hook     a QRV_ON_QUIT that logs "quit hook" and calls END itself
//   --no-autopause  AutoPause(0)
//   --no-escape     AllowEscape(0)
//   --fullscreen W H  start fullscreen in the mode W x H
//   --samples N     ask for N samples per pixel
//   --switch W H F  after the first present: SetScreen(W, H, F)
//   --end-and-run C after the first present: EndAndRun(C)
//   --msg-hook      a QRV_WIN32_MSG that counts its calls; the quit hook logs "hook calls N"
//   --report        logs the screen size, viewport, fullscreen state and samples per pixel
//                   after the first present
#include <GL/gl.h>

// Windows' gl.h stops at OpenGL 1.1; the value is the same everywhere.
#ifndef GL_SAMPLES
#define GL_SAMPLES 0x80A9
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "probe_folder.h"
#include "quorvia/quorvia.h"

namespace {

struct Options {
  bool returnAtOnce = false;
  bool debug = false;
  bool quitHook = false;
  bool noAutoPause = false;
  bool noEscape = false;
  bool report = false;
  int32_t fullscreenWidth = 0;
  int32_t fullscreenHeight = 0;
  int32_t samples = 0;
  int32_t switchTo[3] = {0, 0, -1};
  bool messageHook = false;
  const char* endAndRun = nullptr;
} options;

long hookCalls = 0;

void Settings(qrv::ProjectSettings& settings) {
  settings.title = "FrameProbe";
  settings.debugFlag = options.debug ? 1 : 0;
  settings.multisampleSamples = options.samples;
  if (options.fullscreenWidth > 0) {
    settings.fullscreen = 1;
    settings.screenWidth = options.fullscreenWidth;
    settings.screenHeight = options.fullscreenHeight;
  }
}

void QuitHook() {
  if (options.messageHook) {
    qrv::AppendToErrorLog(("hook calls " + std::to_string(hookCalls)).c_str());
    return;
  }
  qrv::AppendToErrorLog("quit hook");
  qrv::End();
}

void MessageHook() {
  ++hookCalls;
}

void Report() {
  int32_t w, h, vx, vy, vw, vh;
  qrv::GetScreenSize(w, h);
  qrv::GetViewport(vx, vy, vw, vh);
  GLint samples = 0;
  glGetIntegerv(GL_SAMPLES, &samples);
  char line[128];
  std::snprintf(line, sizeof line, "screen %d %d viewport %d %d %d %d fullscreen %d samples %d", w,
                h, vx, vy, vw, vh, qrv::IsFullscreen(), samples);
  qrv::AppendToErrorLog(line);
}

void Main() {
  if (options.returnAtOnce) return;
  if (options.noAutoPause) qrv::AutoPause(0);
  if (options.noEscape) qrv::AllowEscape(0);
  std::string counter = ProbeFolder() + "/presents";
  std::string written = counter + ".new";
  for (long presents = 1;; ++presents) {
    qrv::Present();
    if (options.switchTo[2] >= 0 && presents == 1) {
      qrv::SetScreen(options.switchTo[0], options.switchTo[1], options.switchTo[2]);
    }
    if (options.report && presents == 1) Report();
    if (options.endAndRun != nullptr) qrv::EndAndRun(options.endAndRun);
    // Replaced in one step, so that a reader never sees a half-written number (std::rename
    // would not replace the file on Windows).
    if (FILE* file = std::fopen(written.c_str(), "w")) {
      std::fprintf(file, "%ld\n", presents);
      std::fclose(file);
      std::error_code ignored;  // a reader may hold the file open for a moment
      std::filesystem::rename(written, counter, ignored);
    }
  }
}

const qrv::NamedRoutine kWithQuitHook[] = {{QuitHook, "QRV_ON_QUIT"}, {nullptr, nullptr}};
const qrv::NamedRoutine kWithMessageHook[] = {
    {MessageHook, "QRV_WIN32_MSG"}, {QuitHook, "QRV_ON_QUIT"}, {nullptr, nullptr}};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    options.returnAtOnce |= arg == "--return";
    options.debug |= arg == "--debug";
    options.quitHook |= arg == "--quit-hook";
    options.noAutoPause |= arg == "--no-autopause";
    options.noEscape |= arg == "--no-escape";
    options.report |= arg == "--report";
    if (arg == "--fullscreen" && i + 2 < argc) {
      options.fullscreenWidth = std::atoi(argv[++i]);
      options.fullscreenHeight = std::atoi(argv[++i]);
    }
    if (arg == "--samples" && i + 1 < argc) options.samples = std::atoi(argv[++i]);
    if (arg == "--switch" && i + 3 < argc) {
      for (int32_t& value : options.switchTo) value = std::atoi(argv[++i]);
    }
    options.messageHook |= arg == "--msg-hook";
    if (arg == "--end-and-run" && i + 1 < argc) options.endAndRun = argv[++i];
  }
  const qrv::NamedRoutine* routines = nullptr;
  if (options.quitHook) routines = kWithQuitHook;
  if (options.messageHook) routines = kWithMessageHook;
  qrv::RunProgram(argc, argv, {Settings, Main, routines});
}
