// A runtime program for the capture tests: 160 x 120, unpaced; frame k (counting from 1)
// shows a green 10 x 10 square at (10 k, 20) on dark blue, drawn with the command set.
#include "quorvia/quorvia.h"

namespace {

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 160;
  settings.screenHeight = 120;
  settings.title = "DrawProbe";
}

void Main() {
  for (int32_t frame = 1;; ++frame) {
    qrv::ClearScreen(0x400000);
    qrv::FillRect(10 * frame, 20, 10, 10, 0x00FF00);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) { qrv::RunProgram(argc, argv, {Settings, Main, nullptr}); }
