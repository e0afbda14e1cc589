// END, the run-time error stop, and the shutdown sequence that releases the services
// in their fixed order.
#include <cstdio>
#include <cstdlib>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/host_services.h"
#include "platform/platform.h"
#include "quorvia/files.h"
#include "quorvia/input.h"
#include "quorvia/net.h"
#include "quorvia/scene3d.h"
#include "quorvia/sound.h"

namespace qrv {

static void AppendNumberToErrorLog(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  AppendToErrorLog(text);
}

void Shutdown() {
  Runtime& rt = TheRuntime();
  if (!rt.quitStarted) {
    rt.quitStarted = true;
    if (auto hook = FindNamedRoutine("QRV_ON_QUIT")) hook();
  }
  if (!rt.servicesStarted) return;
  rt.servicesStarted = false;
  AppendToErrorLog("Shut down QRV");
  StopMusic();
  // Write-backs by relative name land in the program folder, wherever the game went.
  EnterProgramFolder();
  CloseAllChannels();
  LineStoreFlush();
  ReleaseNetworkState();
  ShutdownInput();
  ShutdownSound();
  // The engine's vertex buffers and scene textures go while the GL context lives.
  ReleaseScene3D();
  delete rt.device;
  rt.device = nullptr;
  ReleaseMediaPacks();
  rt.window = nullptr;
  AppendToErrorLog("qrv is shut down");
}

[[noreturn]] void End() {
  Runtime& rt = TheRuntime();
  if (rt.settings.debugFlag != 0) {
    AppendToErrorLog("-End On Line");
    AppendNumberToErrorLog(rt.lastError);
    AppendNumberToErrorLog(rt.errorLine - 1);
    AppendNumberToErrorLog(rt.sourceLine);
    AppendNumberToErrorLog(rt.sourceModule);
  }
  ShutdownAndExit(0);
}

[[noreturn]] void ShutdownAndExit(int status) {
  Shutdown();
  std::fflush(nullptr);
  std::_Exit(status);
}

[[noreturn]] void EndAndRun(const RtString& commandLine) {
  Shutdown();
  platform::ProgramRun run =
      platform::RunCommandLine(commandLine.c_str(), platform::Streams::Shared, false);
  if (!run.started) ReportFailure({"EndAndRun", commandLine.View(), run.failure});
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace qrv
