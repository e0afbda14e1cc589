// The game example played whole by its replay script, as a user runs it from another folder:
// title screen, play, game over. The best score lands in "rocks_best.txt" beside the program,
// the next run reads it back, and only a better score replaces it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/process_runner.h"
#include "public/program_outcome.h"

namespace {

namespace fs = std::filesystem;

class RocksExample : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(bin_);
    fs::copy_file(frame_test::ExamplePath("rocks"), bin_ / program_);
    fs::copy_file(fs::path(QRV_BUILD_DIR) / "examples" / "examples.pak", bin_ / "examples.pak");
  }
  // Plays the replay to its end; the best-score file afterwards ("" when there is none).
  std::string Play() {
    const fs::path replay = fs::path(QRV_SOURCE_DIR) / "examples" / "rocks.replay";
    const public_test::Outcome outcome = public_test::RunToEnd(
        (bin_ / program_).string(),
        "QRV_FRAMES=400 QRV_UNPACED=1 QRV_VERBOSE=1 QRV_REPLAY='" + replay.string() + "'", "",
        [](const std::string&) {});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors, "");
    std::ifstream in(bin_ / "rocks_best.txt", std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  void WriteBest(const std::string& text) {
    std::ofstream(bin_ / "rocks_best.txt", std::ios::binary) << text << "\r\n";
  }

  test_host::ScratchFolder scratch_{"qrv-rocks-example"};
  fs::path bin_ = fs::path(scratch_.Path()) / "game";
  std::string program_ = test_host::Executable("example_rocks");
};

TEST_F(RocksExample, GameOverKeepsTheBestScoreAcrossRuns) {
  // The first game ever: whatever it scored is the best.
  const std::string first = Play();
  ASSERT_FALSE(first.empty()) << "no game over saved a score";
  const int score = std::stoi(first);
  EXPECT_GT(score, 0) << "the replay's shots hit no rock";
  // A better score from an earlier run stays: the game read it and did not beat it.
  WriteBest("999");
  EXPECT_EQ(Play(), "999");
  // A worse one is replaced by the same game's score.
  WriteBest(std::to_string(score - 1));
  EXPECT_EQ(Play(), first);
}

}  // namespace
