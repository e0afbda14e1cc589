// The frame and the keyboard: a square moves with the arrow keys, a row of lamps shows which
// of the named keys are held, and a bar grows with the frame time. Each press of Space gives
// the square its next colour and adds a tick below the lamps (KeyHit: once per press, a tap
// shorter than a frame included); a left click puts the square under the pointer (MouseHit).
// Escape ends it.
#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kLampKeys[] = {qrv::kKeyLeft,  qrv::kKeyRight,     qrv::kKeyUp,    qrv::kKeyDown,
                                 qrv::kKeySpace, qrv::kKeyLeftShift, qrv::kKeyReturn};
constexpr int32_t kSquareColours[] = {qrv::Rgb(240, 200, 40), qrv::Rgb(80, 200, 255),
                                      qrv::Rgb(255, 110, 180), qrv::Rgb(160, 255, 120)};
constexpr int32_t kMostTicks = 60;

void Settings(qrv::ProjectSettings& settings) {
  settings.title = "Frame and input";
  settings.frameRate = 60;
}

void Main() {
  int32_t x = 300, y = 220, presses = 0;
  for (;;) {
    x += 3 * (qrv::KeyDown(qrv::kKeyRight) - qrv::KeyDown(qrv::kKeyLeft));
    y += 3 * (qrv::KeyDown(qrv::kKeyDown) - qrv::KeyDown(qrv::kKeyUp));
    if (qrv::KeyHit(qrv::kKeySpace)) ++presses;
    if (qrv::MouseHit(1)) {
      int32_t buttonLeft, buttonRight;
      qrv::MouseState(&x, &y, &buttonLeft, &buttonRight);
      x -= 20;
      y -= 20;
    }
    qrv::ClearScreen(qrv::Rgb(16, 24, 48));
    qrv::FillRect(x, y, 40, 40, kSquareColours[presses % 4]);
    int32_t lampX = 20;
    for (int32_t key : kLampKeys) {
      const bool held = qrv::KeyDown(key) != 0;
      qrv::FillRect(lampX, 20, 24, 24, held ? qrv::Rgb(80, 255, 80) : qrv::Rgb(60, 60, 60));
      lampX += 32;
    }
    for (int32_t tick = 0; tick < presses && tick < kMostTicks; ++tick) {
      qrv::FillRect(20 + tick * 8, 52, 4, 10, qrv::Rgb(200, 200, 220));
    }
    // Four pixels per millisecond of the last frame: about 67 at 60 frames a second.
    const int32_t frameBar = int32_t(qrv::FrameTime() * 4.0);
    qrv::FillRect(20, 450, frameBar < 600 ? frameBar : 600, 10, qrv::Rgb(200, 80, 80));
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
