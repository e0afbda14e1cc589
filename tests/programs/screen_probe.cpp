// A runtime program for the screen tests: 160 x 120, title "screen probe". Its first
// argument picks what it does; the files it reads and writes are in $TMPDIR.
//   save:   frame 1 a pattern with text; frame 2 draws over it and saves the screen as
//           "saved.png" before presenting.
//   fade:   background "a.png", two frames, then a 1 s cross-fade to "b.png" (its length
//           in game time goes to "answers.txt"), then frames until QRV_FRAMES ends it.
//   prompt: a text prompt starting from "ab", then an integer and a number prompt; each
//           result goes to "answers.txt" as one line.
//   mouse:  every frame writes the mouse position and the screen size to "mouse.txt"
//           as "x y width height".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_folder.h"
#include "quorvia/quorvia.h"

namespace {

std::string mode;
std::string folder = "/tmp/";

qrv::RtString InFolder(const char* name) {
  return (folder + name).c_str();
}

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 160;
  settings.screenHeight = 120;
  settings.title = "screen probe";
}

void Save() {
  qrv::ClearScreen(0x402000);
  qrv::FillRect(20, 30, 50, 40, 0x00C0FF);
  qrv::PrintText("Saved!", 10.5f, 90);
  qrv::Present();
  qrv::FillRect(0, 0, 160, 120, 0xFFFFFF);
  qrv::SaveScreen(InFolder("saved.png"));
  for (;;) qrv::Present();
}

void Answer(const std::string& line) {
  if (std::FILE* out = std::fopen((folder + "answers.txt").c_str(), "a")) {
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
  }
}

void Fade() {
  qrv::LoadBackground(InFolder("a.png"));
  qrv::Present();
  qrv::Present();
  const double start = qrv::GameTime();
  qrv::FadeToBackground(InFolder("b.png"), 1000);
  Answer(std::to_string(qrv::GameTime() - start));
  for (;;) qrv::Present();
}

void Prompt() {
  qrv::AllowEscape(0);
  qrv::AutoPause(0);
  qrv::ClearScreen(0x400000);
  qrv::RtString text = "ab";
  qrv::InputText(text, 8, 8);
  Answer(text.c_str());
  Answer(std::to_string(qrv::InputInteger(8, 20)));
  char number[32];
  std::snprintf(number, sizeof number, "%g", qrv::InputNumber(8, 32));
  Answer(number);
}

void Mouse() {
  for (;;) {
    int32_t x = 0, y = 0, b1 = 0, b2 = 0, w = 0, h = 0;
    qrv::MouseState(&x, &y, &b1, &b2);
    qrv::GetScreenSize(w, h);
    if (std::FILE* out = std::fopen((folder + "mouse.txt").c_str(), "wb")) {
      std::fprintf(out, "%d %d %d %d\n", int(x), int(y), int(w), int(h));
      std::fclose(out);
    }
    qrv::Present();
  }
}

void Main() {
  if (mode == "save") Save();
  if (mode == "fade") Fade();
  if (mode == "prompt") Prompt();
  if (mode == "mouse") Mouse();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) mode = argv[1];
  folder = ProbeFolder() + "/";
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
