// Files and media packs: the level comes from "level.txt" inside the pack "examples.pak"
// that the build makes beside this program (`qrv pack create examples.pak media/level.txt`).
// No such file lies on disk, so opening the channel finds the pack's member. The level is
// read line by line and drawn as tiles. Escape ends it.
#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kTile = 32;

void Main() {
  qrv::SetMediaPacks("examples.pak", "");
  qrv::RtArray<qrv::RtString> rows;
  const int32_t channel = qrv::FreeChannel();
  if (qrv::OpenChannel(channel, "level.txt", 1)) {
    while (!qrv::EndOfChannel(channel)) {
      qrv::RtString line;
      qrv::ReadLine(channel, line);
      rows.PushBack(line);
    }
    qrv::CloseChannel(channel);
  }
  for (;;) {
    qrv::ClearScreen(qrv::Rgb(10, 10, 20));
    for (int32_t y = 0; y < rows.Bounds(0); ++y) {
      const qrv::RtString& row = rows.ElementAt(y);
      for (int32_t x = 0; x < qrv::TextLength(row); ++x) {
        const char tile = row.c_str()[x];
        if (tile == '#') qrv::FillRect(x * kTile, y * kTile, kTile, kTile, qrv::Rgb(120, 90, 60));
        if (tile == 'o') {
          qrv::FillRect(x * kTile + 10, y * kTile + 10, 12, 12, qrv::Rgb(255, 220, 0));
        }
      }
    }
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
