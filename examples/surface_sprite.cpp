// An off-screen surface used as a sprite: each frame draws a small scene into a 64 x 64
// sprite, then shows that sprite plain, doubled and turning. Without frame-buffer objects
// (try QRV_GL_HIDE=GL_EXT_framebuffer_object) the picture is the same. Escape ends it.
#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kSurface = 0;
constexpr int32_t kCanvas = 1;  // the sprite the surface draws into

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 320;
  settings.screenHeight = 200;
  settings.title = "Surface sprite";
}

void DrawCanvas(int32_t frame) {
  qrv::UseSurface(kSurface);
  qrv::FillRect(0, 0, 64, 64, 0xC00000);
  qrv::FillRect(16, 16, 32, 32, 0xFFFF00);
  qrv::DrawLine(0, frame % 64, 63, 63 - frame % 64, 0x0000FF);
  qrv::PrintText("64", 24, 28);
  qrv::UseSurface(-1);
}

void Main() {
  qrv::CreateSurface(kSurface, kCanvas, 64, 64);
  for (int32_t frame = 0;; ++frame) {
    DrawCanvas(frame);
    qrv::ClearScreen(0x202020);
    qrv::DrawSprite(kCanvas, 16, 16);
    qrv::DrawSpriteScaled(kCanvas, 136, 48, 2.0, 2.0);
    qrv::DrawSpriteRotated(kCanvas, 240, 120, float(frame * 2), 1.0f);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
