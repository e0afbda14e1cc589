// Settings files: "example_settings.ini" beside the program remembers how often the example
// has run and which colour its boxes have. Every run adds one box. The runtime writes a
// settings file only when the program switches files: the quit routine QRV_ON_QUIT, which
// every end of the program runs (Escape, the close button, END), saves it with IniOpen("").
// Escape ends it.
#include "quorvia/quorvia.h"

namespace {

void SaveSettings() {
  qrv::IniOpen("");  // writes the changed file back and closes it
}

void Main() {
  qrv::IniOpen("example_settings.ini");
  const int32_t runs = qrv::TextToInteger(qrv::IniGet("stats", "runs", "0")) + 1;
  qrv::IniPut("stats", "runs", qrv::IntegerText(runs));
  // A colour the user may change in the file.
  int32_t part[3];
  const char* names[3] = {"red", "green", "blue"};
  const char* defaults[3] = {"90", "160", "255"};
  for (int32_t i = 0; i < 3; ++i) {
    const qrv::RtString value = qrv::IniGet("colour", names[i], defaults[i]);
    qrv::IniPut("colour", names[i], value);
    part[i] = qrv::TextToInteger(value);
  }
  for (;;) {
    qrv::ClearScreen(qrv::Rgb(30, 30, 30));
    for (int32_t i = 0; i < runs && i < 100; ++i) {
      qrv::FillRect(20 + (i % 10) * 60, 20 + (i / 10) * 44, 50, 34,
                    qrv::Rgb(part[0], part[1], part[2]));
    }
    qrv::Present();
  }
}

const qrv::NamedRoutine kRoutines[] = {{SaveSettings, "QRV_ON_QUIT"}, {nullptr, nullptr}};

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, kRoutines});
}
