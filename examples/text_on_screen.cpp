// Text with the command set: the built-in font (or "smalfont.png" next to the program),
// its cell size, every printable character, and a counter that changes each frame; and a
// title in a TrueType font, in colour, right-aligned by its measured width (where the font
// file is missing, the title shows in the built-in glyphs). Escape ends it.
#include <string>

#include "quorvia/quorvia.h"

namespace {

// Debian's DejaVu Sans Bold (package fonts-dejavu-core); any TrueType file will do.
constexpr const char* kTitleFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

void Settings(qrv::ProjectSettings& settings) {
  settings.screenWidth = 320;
  settings.screenHeight = 200;
  settings.title = "Text on screen";
}

void Main() {
  int32_t cellWidth = 0, cellHeight = 0;
  qrv::FontSize(cellWidth, cellHeight);
  // The title's font: font 1, or the built-in font 0 where the file is missing.
  const int32_t title = qrv::FileExists(kTitleFont) ? 1 : 0;
  if (title != 0) qrv::LoadTrueTypeFont(kTitleFont, title, 26);
  qrv::SelectFont(title);
  const int32_t titleWidth = qrv::TextWidth("Tävla!");
  qrv::SelectFont(0);
  std::string characters;
  for (int code = 32; code < 128; ++code) characters += char(code);
  for (int32_t frame = 0;; ++frame) {
    qrv::ClearScreen(0x402010);
    qrv::PrintText("Quorvia prints text", 8, 8);
    qrv::PrintText(
        ("cells of " + std::to_string(cellWidth) + " x " + std::to_string(cellHeight)).c_str(), 8,
        24);
    // Sixteen characters a line, as they sit in the font's grid.
    for (int32_t row = 0; row < 6; ++row) {
      qrv::PrintText(characters.substr(size_t(row) * 16, 16).c_str(), 8,
                     float(48 + row * (cellHeight + 2)));
    }
    qrv::PrintText(("frame " + std::to_string(frame)).c_str(), 8, 180);
    qrv::SelectFont(title);
    qrv::SetTextColour(qrv::Rgb(255, 200, 48));  // gold
    qrv::PrintText("Tävla!", float(312 - titleWidth), 150);
    qrv::SetTextColour(0xFFFFFF);
    qrv::SelectFont(0);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {Settings, Main, nullptr});
}
