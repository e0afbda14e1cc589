// Replay and capture: a dot runs with the arrow keys and leaves a trail. Played from the
// script beside it and captured, it draws the same picture on every machine (from the source
// folder, frame 120 becomes shots/frame-000120.png; the hooks' names are taken from the
// folder the program is started in):
//   QRV_REPLAY=examples/replay_and_capture.replay QRV_FRAMES=121 QRV_CAPTURE=shots
//   QRV_CAPTURE_FRAMES=120 build/examples/example_replay_and_capture
// QRV_RECORD=my.replay records the keys of a run by hand in the same format.
#include "quorvia/quorvia.h"

namespace {

void Main() {
  qrv::RtArray<int32_t> trail;  // x, y pairs of the dot's places so far
  int32_t x = 100, y = 240;
  for (;;) {
    x += 2 * (qrv::KeyDown(qrv::kKeyRight) - qrv::KeyDown(qrv::kKeyLeft));
    y += 2 * (qrv::KeyDown(qrv::kKeyDown) - qrv::KeyDown(qrv::kKeyUp));
    trail.PushBack(x);
    trail.PushBack(y);
    qrv::ClearScreen(qrv::Rgb(0, 0, 0));
    for (int32_t i = 0; i + 1 < trail.Bounds(0); i += 2) {
      qrv::PlotPixel(trail.ElementAt(i), trail.ElementAt(i + 1), qrv::Rgb(0, 160, 255));
    }
    qrv::FillRect(x - 4, y - 4, 9, 9, qrv::Rgb(255, 255, 255));
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
