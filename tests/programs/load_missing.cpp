// A runtime program that loads a sprite that is not there, then presents frames until
// QRV_FRAMES ends it. "--debug" turns the settings' debug flag on.
#include <cstring>

#include "quorvia/quorvia.h"

namespace {

bool debug = false;

void Settings(qrv::ProjectSettings& settings) {
  settings.debugFlag = debug ? 1 : 0;
}

void Main() {
  qrv::LoadSprite("Media/missing.png", 1);
  for (;;) qrv::Present();
}

}  // namespace

int main(int argc, char** argv) {
  debug = argc > 1 && std::strcmp(argv[1], "--debug") == 0;
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
