// The GLSL shader slots: linked vertex/fragment program pairs by number, and the one
// switched on for drawing (-1: the fixed-function pipeline).
#pragma once

#include <cstdint>

namespace qrv {

constexpr int32_t kShaderSlotCount = 255;  // slots 0..254

struct ShaderSlot {
  uint32_t program = 0;
  uint32_t vertexShader = 0;
  uint32_t fragmentShader = 0;
};

struct ShaderTable {
  ShaderSlot slots[kShaderSlotCount];
  int32_t current = -1;
  bool missingReported = false;  // "No OpenGL 2.0 Shader Support" goes out once per run
};

}  // namespace qrv
