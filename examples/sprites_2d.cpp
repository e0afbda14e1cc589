// 2D drawing: a sprite made from a pixel array, drawn plain, scaled, turning and additively
// blended, an animation strip, a coloured polygon, primitives, and circles and ellipses
// filled, outlined and blended. Escape ends it.
#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kBall = 0;
constexpr int32_t kStrip = 1;

// A 32 x 32 ball: yellow inside, clear outside.
void MakeBall() {
  qrv::RtArray<int32_t> pixels;
  pixels.Dim(32 * 32);
  for (int32_t y = 0; y < 32; ++y) {
    for (int32_t x = 0; x < 32; ++x) {
      const int32_t dx = x - 16, dy = y - 16;
      pixels.ElementAt(y * 32 + x) = dx * dx + dy * dy < 225 ? int32_t(0xFF00E0FF) : 0;
    }
  }
  qrv::SpriteFromPixels(pixels, kBall, 32, 32);
}

// Four 16 x 16 frames in a row, each a bar at another height.
void MakeStrip() {
  qrv::RtArray<int32_t> pixels;
  pixels.Dim(64 * 16);
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      const bool bar = y / 4 == x / 16;
      pixels.ElementAt(y * 64 + x) = bar ? int32_t(0xFF40FF40) : int32_t(0xFF202020);
    }
  }
  qrv::SpriteFromPixels(pixels, kStrip, 64, 16);
  qrv::SetFrameSize(kStrip, 16, 16);
}

void Main() {
  MakeBall();
  MakeStrip();
  for (int32_t frame = 0;; ++frame) {
    qrv::ClearScreen(0x301810);
    qrv::DrawSprite(kBall, 20, 20);
    qrv::DrawSpriteScaled(kBall, 100, 20, 2.0, 1.0);
    qrv::DrawSpriteRotated(kBall, 200, 20, float(frame * 3), 1.5f);
    qrv::SetAlphaMode(0.5);
    qrv::DrawSprite(kBall, 30, 30);
    qrv::SetAlphaMode(0);
    qrv::DrawFrame(kStrip, (frame / 8) % 4, 300, 24);
    qrv::BeginPolygon(-1, 0);
    qrv::AddPolygonVertex(40, 120, 0, 0, 0x0000FF);
    qrv::AddPolygonVertex(140, 120, 0, 0, 0x00FF00);
    qrv::AddPolygonVertex(90, 200, 0, 0, 0xFF0000);
    qrv::EndPolygon();
    qrv::FillRect(200, 120, 60, -30, 0x808080);
    qrv::DrawLine(200, 160, 320, 220, 0xFFFFFF);
    qrv::PlotPixel(330, 220, 0xFFFFFF);
    qrv::DrawCircle(440, 110, 40, 0x40A0FF, 1);
    qrv::DrawCircle(440, 110, 44 + frame % 16, 0xFFFFFF, 0);  // a ring that pulses outwards
    qrv::DrawEllipse(480, 320, 120, 50, 0xFFC040, 0);
    qrv::SetAlphaMode(-0.5);
    qrv::DrawEllipse(420, 320, 60, 90, 0x60FF60, 1);
    qrv::SetAlphaMode(0);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) { qrv::RunProgram(argc, argv, {nullptr, Main, nullptr}); }
