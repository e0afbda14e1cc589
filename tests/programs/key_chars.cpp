// A runtime program for the keyboard layout test. After every present it writes the
// characters that ScanCodeToChar gives the keys 2, minus and Y (with whatever keys the
// replay holds, such as Shift) as decimal byte values, one line per present, to
// $TMPDIR/chars.txt.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_folder.h"
#include "quorvia/quorvia.h"

namespace {

void Main() {
  const std::string path = ProbeFolder() + "/chars.txt";
  std::FILE* out = std::fopen(path.c_str(), "wb");  // "\n" on every host
  if (out == nullptr) qrv::ErrorStop(3);
  for (;;) {
    qrv::Present();
    std::fprintf(out, "%d %d %d\n", static_cast<unsigned char>(qrv::ScanCodeToChar(qrv::kKey2)),
                 static_cast<unsigned char>(qrv::ScanCodeToChar(qrv::kKeyMinus)),
                 static_cast<unsigned char>(qrv::ScanCodeToChar(qrv::kKeyY)));
    std::fflush(out);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
