// Start-up seeds the random generator from the clock: two runs of a whole program, a
// little apart, draw different numbers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>

namespace {

std::string FirstDraws() {
  std::string dir = testing::TempDir() + "qrv-seed-" + std::to_string(getpid());
  std::string command = "mkdir -p '" + dir + "' && TMPDIR='" + dir + "' SDL_AUDIODRIVER=dummy " +
                        QRV_BUILD_DIR "/tests/program_values_random 2>/dev/null";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    pclose(pipe);
  }
  std::system(("rm -rf '" + dir + "'").c_str());
  return output;
}

TEST(StartUp, EachRunDrawsItsOwnNumbers) {
  std::set<std::string> draws;
  for (int run = 0; run < 4; ++run) {
    if (run > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::string output = FirstDraws();
    ASSERT_FALSE(output.empty()) << "the program did not run";
    draws.insert(output);
  }
  EXPECT_EQ(draws.size(), 4u) << "runs repeated the same numbers";
}

}  // namespace
