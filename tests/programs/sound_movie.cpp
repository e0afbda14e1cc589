// A runtime program for the movie tests: plays the movie named by its first argument
// ("loop" as the second loops it; a third "wide" makes the window 800 x 480) and writes
// "playing" and then PlayMovie's result and the last error to movie.txt in the temporary
// folder ($TMPDIR), where its standard error goes to stderr.txt.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe_folder.h"
#include "quorvia/frame.h"
#include "quorvia/sound.h"

namespace {

std::string movie, folder;
bool loop = false, wide = false;

void Note(const std::string& text) {
  std::FILE* out = std::fopen((folder + "/movie.txt").c_str(), "ab");  // "\n" on every host
  if (out == nullptr) return;
  std::fprintf(out, "%s\n", text.c_str());
  std::fclose(out);
}

void Configure(qrv::ProjectSettings& settings) {
  settings.title = "sound movie";
  if (wide) settings.screenWidth = 800;
}

void Main() {
  qrv::AutoPause(0);
  Note("playing");
  const int32_t result = qrv::PlayMovie(movie.c_str(), loop);
  Note(std::to_string(result) + " " + std::to_string(qrv::LastError()));
}

}  // namespace

int main(int argc, char** argv) {
  folder = ProbeFolder();
  if (std::freopen((folder + "/stderr.txt").c_str(), "w", stderr) == nullptr) return 1;
  if (argc > 1) movie = argv[1];
  loop = argc > 2 && std::string(argv[2]) == "loop";
  wide = argc > 3 && std::string(argv[3]) == "wide";
  qrv::RunProgram(argc, argv, {Configure, Main, nullptr});
}
