// Skipdale_2: the project settings and the main routine.
#include "quorvia/quorvia.h"

namespace {

void ProjectSettings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 640;
  settings.screenHeight = 480;
  settings.frameRate = 60;
  settings.fullscreen = 0;
  settings.multisampleSamples = 0;
  settings.debugFlag = 0;
  settings.mouseCapture = 0;
  settings.title = "Skipdale_2";
}

// Until the game's own loop arrives: present empty frames until the player quits.
void GameMain() {
  for (;;) qrv::Present();
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {ProjectSettings, GameMain, nullptr});
}
