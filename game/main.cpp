// Skipdale_2: the project settings and the process entry.
#include "game_main.h"
#include "quorvia/quorvia.h"

namespace {

void ProjectSettings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 640;
  settings.screenHeight = 480;
  settings.frameRate = 60;  // the main routine sets the game's own 30
  settings.fullscreen = 0;
  settings.multisampleSamples = 0;
  settings.debugFlag = 0;
  settings.mouseCapture = 0;
  settings.title = "Skipdale_2";
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {ProjectSettings, [] { skipdale::GameMain(); }, nullptr});
}
