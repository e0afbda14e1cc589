// The game-facing shader commands. Their messages (compile and link logs, unknown names)
// go to the debug output, standard error here, while the debug flag is set.
#include <cstdio>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

static void DebugReport(const char* message) {
  if (Settings().debugFlag == 0) return;
  std::fputs(message, stderr);
  std::fputs("\n", stderr);
}

bool LoadShader(int32_t slot, const RtString& vertexName, const RtString& fragmentName) {
  return Device() != nullptr &&
         Device()->LoadShader(slot, vertexName.View(), fragmentName.View(), DebugReport);
}

void UseShader(int32_t slot) {
  if (Device() != nullptr) Device()->UseShader(slot);
}

void SetShaderFloat(const RtString& name, double value) {
  if (Device() != nullptr) Device()->SetShaderFloat(name.View(), float(value), DebugReport);
}

void SetShaderInt(const RtString& name, int32_t value) {
  if (Device() != nullptr) Device()->SetShaderInt(name.View(), value, DebugReport);
}

void SetShaderAttribute(const RtString& name, double value) {
  if (Device() != nullptr) Device()->SetShaderAttribute(name.View(), float(value), DebugReport);
}

}  // namespace qrv
