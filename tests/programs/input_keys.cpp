// A runtime program for the input tests. Before the first present and after each one it
// writes the present number and every held scan code as one line in the replay script
// format to keys.txt in the temporary folder ($TMPDIR).
//   argument "edges": each line goes on with the edges of the frame: +CODE for each key hit,
//            -CODE for each key released, mB for each mouse button B hit ("8 +57 -57");
//   argument "escape": Escape and Alt+F4 end it as usual (otherwise only Alt+F4);
//            "wait-key": it first waits with WaitForKey and writes "waited";
//            "poll-space": it polls KeyDown for Space without presenting, then writes
//            "space" and ends.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_folder.h"
#include "quorvia/frame.h"
#include "quorvia/input.h"

namespace {

std::FILE* output = nullptr;
std::string mode;

void WriteKeys(long present) {
  std::fprintf(output, "%ld", present);
  for (int code = 0; code < 256; ++code) {
    if (qrv::KeyDown(code)) std::fprintf(output, " %d", code);
  }
  if (mode == "edges") {
    for (int code = 0; code < 256; ++code) {
      if (qrv::KeyHit(code)) std::fprintf(output, " +%d", code);
    }
    for (int code = 0; code < 256; ++code) {
      if (qrv::KeyReleased(code)) std::fprintf(output, " -%d", code);
    }
    for (int button = 1; button <= 3; ++button) {
      if (qrv::MouseHit(button)) std::fprintf(output, " m%d", button);
    }
  }
  std::fputc('\n', output);
  std::fflush(output);
}

void Configure(qrv::ProjectSettings& settings) {
  settings.title = "input keys";
  settings.frameRate = 60;
}

void Main() {
  if (mode != "escape") qrv::AllowEscape(0);
  // Focus changes must not freeze the program: the tests move the focus on purpose.
  qrv::AutoPause(0);
  if (mode == "poll-space") {
    while (!qrv::KeyDown(57)) {
    }
    std::fputs("space\n", output);
    std::fflush(output);
    qrv::End();
  }
  if (mode == "wait-key") {
    qrv::WaitForKey();
    std::fputs("waited\n", output);
  }
  for (long present = 0;; ++present) {
    WriteKeys(present);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  output = std::fopen((ProbeFolder() + "/keys.txt").c_str(), "wb");  // "\n" on every host
  if (output == nullptr) return 1;
  if (argc > 1) mode = argv[1];
  qrv::RunProgram(argc, argv, {Configure, Main, nullptr});
}
