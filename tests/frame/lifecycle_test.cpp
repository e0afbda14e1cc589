// Start-up and END of whole programs under the display: the exit code (0 for every end of
// the program, 1 when no window can be made) and the exact error log each way of ending
// leaves behind.
#include <gtest/gtest.h>

#include <csignal>

#include "process_runner.h"

namespace {

using frame_test::ExpectedLog;
using frame_test::ProgramRun;

const std::vector<std::string> kFourLines = {"Init GFX", "Init Finalized", "Shut down QRV",
                                             "qrv is shut down"};

struct LifecycleCase {
  const char* name;
  std::string program;
  std::vector<std::string> args;
  std::vector<std::pair<std::string, std::string>> env;
  std::vector<std::string> log;
  int exitCode = 0;
};

void PrintTo(const LifecycleCase& c, std::ostream* os) {
  *os << c.name;
}

class Lifecycle : public testing::TestWithParam<LifecycleCase> {};

TEST_P(Lifecycle, ExitsWithItsCodeAndLeavesTheLog) {
  const LifecycleCase& c = GetParam();
  frame_test::VirtualDisplay display;
  std::vector<std::pair<std::string, std::string>> env = {{"DISPLAY", display.Name()}};
  env.insert(env.end(), c.env.begin(), c.env.end());
  ProgramRun run(c.program, c.args, env);
  ASSERT_EQ(run.Wait(), c.exitCode);
  EXPECT_EQ(run.LogLines(), ExpectedLog(c.log));
}

const std::vector<std::pair<std::string, std::string>> kFiveFrames = {{"QRV_FRAMES", "5"}};

INSTANTIATE_TEST_SUITE_P(
    Frame, Lifecycle,
    testing::Values(
        LifecycleCase{"GameAfterFivePresents", frame_test::GamePath(), {}, kFiveFrames, kFourLines},
        LifecycleCase{"MainRoutineReturns",
                      frame_test::ProgramPath("frame_probe"),
                      {"--return"},
                      {},
                      kFourLines},
        LifecycleCase{"DebugFlagAddsFiveLines",
                      frame_test::ProgramPath("frame_probe"),
                      {"--return", "--debug"},
                      {},
                      {"Init GFX", "Init Finalized", "-End On Line", "0", "-1", "0", "0",
                       "Shut down QRV", "qrv is shut down"}},
        LifecycleCase{
            "QuitHookCallingEndRunsOnce",
            frame_test::ProgramPath("frame_probe"),
            {"--quit-hook"},
            kFiveFrames,
            {"Init GFX", "Init Finalized", "quit hook", "Shut down QRV", "qrv is shut down"}},
        LifecycleCase{"NoVideoEndsAtOnce",
                      frame_test::ProgramPath("frame_probe"),
                      {},
                      {{"SDL_VIDEODRIVER", "no_such_driver"}},
                      {"Init GFX", "No window or OpenGL context available", "Shut down QRV",
                       "qrv is shut down"},
                      1},
        LifecycleCase{"UnpacedFramesStillEndAtTheLimit",
                      frame_test::ProgramPath("frame_probe"),
                      {},
                      {{"QRV_FRAMES", "30"}, {"QRV_UNPACED", "1"}},
                      kFourLines}),
    [](const testing::TestParamInfo<LifecycleCase>& info) { return info.param.name; });

TEST(Lifecycle, StaleLogIsReplaced) {
  frame_test::VirtualDisplay display;
  ProgramRun run(frame_test::ProgramPath("frame_probe"), {"--return"},
                 {{"DISPLAY", display.Name()}}, [](const std::string& dir) {
                   std::ofstream(dir + "/ErrorLog.txt", std::ios::binary) << "old run\r\n";
                 });
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(run.LogLines(), ExpectedLog(kFourLines));
}

TEST(Lifecycle, FrameLimitCountsPresentsAtTheFrameRate) {
  frame_test::VirtualDisplay display;
  ProgramRun run(frame_test::ProgramPath("frame_probe"), {},
                 {{"QRV_FRAMES", "30"}, {"DISPLAY", display.Name()}});
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(run.Wait(), 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(run.Presents(), 29);  // the 30th present ends the program inside present
  EXPECT_GT(seconds, 0.4);        // paced: 29 frame intervals at least
}

TEST(Lifecycle, TerminationRequestClosesThroughEnd) {
  frame_test::VirtualDisplay display;
  ProgramRun run(frame_test::ProgramPath("frame_probe"), {}, {{"DISPLAY", display.Name()}});
  ASSERT_TRUE(frame_test::Eventually([&] { return run.Presents() > 0; }));
  run.AskToStop();
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(run.LogLines(), ExpectedLog(kFourLines));
}

TEST(Lifecycle, EndAndRunShutsDownThenStartsTheCommand) {
  frame_test::VirtualDisplay display;
  // The host's own command interpreter writes the file.
  const std::string command = test_host::IsWindows()
                                  ? "cmd /c echo started>\"%TMP%\\ran\""
                                  : "sh -c \"echo started > \\\"$TMPDIR/ran\\\"\"";
  ProgramRun run(frame_test::ProgramPath("frame_probe"), {"--end-and-run", command},
                 {{"DISPLAY", display.Name()}});
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(run.LogLines(), ExpectedLog(kFourLines));
  ASSERT_TRUE(frame_test::Eventually([&] {
    return frame_test::Shell("cat '" + run.Folder() + "/ran' 2>/dev/null") == "started";
  }));
}

}  // namespace
