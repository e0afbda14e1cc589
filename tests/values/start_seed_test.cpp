// Start-up seeds the random generator from the clock: two runs of a whole program, a
// little apart, draw different numbers.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "support/host.h"

namespace {

std::string FirstDraws() {
  test_host::ScratchFolder dir("qrv-seed");
  test_host::ChildOptions options;
  options.env = {{test_host::TempFolderVariable(), dir.Path()}, {"SDL_AUDIODRIVER", "dummy"}};
  return test_host::RunCapturing(
             {test_host::Executable(QRV_BUILD_DIR "/tests/program_values_random")}, options)
      .out;
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
