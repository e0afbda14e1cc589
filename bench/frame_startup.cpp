// Start-up time: from launching a runtime program to its first presented frame, under
// the display in use, with a sound device (SDL's silent driver) and with the host's own
// drivers looking for one (none on a machine without sound hardware). Prints the median
// of several launches; target: under 100 ms each.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_target.h"

extern char** environ;

namespace {

// Milliseconds from spawning the program to the first frame it reports; negative on failure.
double LaunchToFirstFrame(const std::string& program) {
  int ends[2];
  if (pipe(ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  auto launched = std::chrono::steady_clock::now();
  pid_t child = 0;
  int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  std::string output;
  char buffer[64];
  ssize_t n;
  while (failed == 0 && (n = read(ends[0], buffer, sizeof buffer)) > 0) output.append(buffer, n);
  close(ends[0]);
  if (failed != 0) return -1;
  waitpid(child, nullptr, 0);
  long long firstFrame = std::atoll(output.c_str());
  if (firstFrame <= 0) return -1;
  auto start = std::chrono::duration_cast<std::chrono::nanoseconds>(launched.time_since_epoch());
  return static_cast<double>(firstFrame - start.count()) / 1e6;
}

// withDevice: SDL's silent driver, which always opens; else the drivers the host has.
void BM_StartupToFirstFrame(benchmark::State& state, bool withDevice) {
  const std::string program = QRV_BUILD_DIR "/tests/program_frame_first_frame";
  // Each run writes its own error log; keep them out of the user's temporary folder.
  char folder[] = "/tmp/qrv-startup-XXXXXX";
  setenv("TMPDIR", mkdtemp(folder), 1);
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  const std::string savedDriver = driver != nullptr ? driver : "";
  if (withDevice) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
  std::vector<double> times;
  for (auto _ : state) {
    double ms = LaunchToFirstFrame(program);
    if (ms < 0) {
      state.SkipWithError("the program did not start (build the tests first)");
      break;
    }
    state.SetIterationTime(ms / 1000);
    times.push_back(ms);
  }
  if (driver != nullptr) {
    setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }
  std::system((std::string("rm -rf ") + folder).c_str());
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  const std::string what = std::string("start-up to first presented frame ") +
                           (withDevice ? "with a sound device" : "looking for a sound device") +
                           ", median over " + std::to_string(times.size()) + " launches";
  qrv::bench::CheckBelow(what.c_str(), times[times.size() / 2], 100, "ms");
}
BENCHMARK_CAPTURE(BM_StartupToFirstFrame, with_sound_device, true)
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartupToFirstFrame, host_sound_drivers, false)
    ->Iterations(9)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

QRV_BENCHMARK_MAIN()
