// A shader that tints: a fragment shader with a "tint" uniform turns a white sprite red.
// The left copy is drawn before the shader is switched on; the shader is left on after
// the right copy, and present switches it off, so every frame starts untinted. The
// sources are held in memory and loaded through their "mem://" names. The fragment shader
// leaves out the clear texels itself: WebGL has no fixed alpha test after a shader. Escape
// ends it.
#include <cmath>
#include <cstring>
#include <memory>

#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kSprite = 0;
constexpr int32_t kShader = 0;

const char kVertexSource[] =
    "void main() {\n"
    "  gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "  gl_Position = ftransform();\n"
    "}\n";

const char kFragmentSource[] =
    "uniform sampler2D image;\n"
    "uniform float tint;\n"
    "void main() {\n"
    "  vec4 c = texture2D(image, gl_TexCoord[0].xy);\n"
    "  if (c.a == 0.0) discard;\n"
    "  gl_FragColor = vec4(c.r, c.g * (1.0 - tint), c.b * (1.0 - tint), c.a);\n"
    "}\n";

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 320;
  settings.screenHeight = 200;
  settings.title = "Shader tint";
}

qrv::RtString InMemory(const char* text) {
  const size_t size = std::strlen(text);
  auto bytes = std::make_unique<uint8_t[]>(size);
  std::memcpy(bytes.get(), text, size);
  return qrv::RegisterMemoryBlock(std::move(bytes), int32_t(size));
}

// A 64 x 64 white square with a clear ring.
void MakeSprite() {
  qrv::RtArray<int32_t> pixels;
  pixels.Dim(64 * 64);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      const int32_t dx = x - 32, dy = y - 32, d = dx * dx + dy * dy;
      pixels.ElementAt(y * 64 + x) = d > 200 && d < 400 ? 0 : int32_t(0xFFFFFFFF);
    }
  }
  qrv::SpriteFromPixels(pixels, kSprite, 64, 64);
}

void Main() {
  MakeSprite();
  const bool shaders = qrv::LoadShader(kShader, InMemory(kVertexSource), InMemory(kFragmentSource));
  for (int32_t frame = 0;; ++frame) {
    qrv::ClearScreen(0x303030);
    qrv::DrawSprite(kSprite, 40, 60);
    qrv::UseShader(kShader);
    qrv::SetShaderFloat("tint", 1.0);
    qrv::DrawSprite(kSprite, 200, 60);
    if (!shaders) qrv::PrintText("no shaders on this driver", 8, 8);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
