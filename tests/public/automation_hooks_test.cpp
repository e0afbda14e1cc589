// The automation hooks on whole programs: a value that cannot be used ends the program at
// once with exit status 2 and a message naming the variable, and the hooks' paths belong
// to the folder the program was started from, not the program's own folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/process_runner.h"
#include "public/program_outcome.h"

namespace {

namespace fs = std::filesystem;

struct BadHook {
  const char* environment;  // words for env(1); {dir} is the run's folder
  const char* message;      // the start of the line on standard error and in the log
};

TEST(AutomationHooks, AValueThatCannotBeUsedEndsTheProgramWithStatusTwo) {
  const BadHook cases[] = {
      {"QRV_FRAMES=abc", "QRV_FRAMES: 'abc' is not a number of presents"},
      {"QRV_FRAMES=0", "QRV_FRAMES: '0' is not a number of presents"},
      {"QRV_FRAMES=12x", "QRV_FRAMES: '12x' is not a number of presents"},
      {"QRV_FRAMES=3 QRV_CAPTURE={dir}/shots QRV_CAPTURE_FRAMES=bogus",
       "QRV_CAPTURE_FRAMES: 'bogus' is not a list of present numbers"},
      {"QRV_FRAMES=3 QRV_CAPTURE={dir}/shots QRV_CAPTURE_FRAMES=2,,3",
       "QRV_CAPTURE_FRAMES: '2,,3' is not a list of present numbers"},
      {"QRV_FRAMES=3 QRV_CAPTURE={dir}/shots QRV_CAPTURE_FRAMES=every:0",
       "QRV_CAPTURE_FRAMES: 'every:0' is not a list of present numbers"},
      {"QRV_FRAMES=3 QRV_CAPTURE_FRAMES=2", "QRV_CAPTURE_FRAMES: '2' is set without QRV_CAPTURE"},
      {"QRV_FRAMES=3 QRV_CAPTURE=/proc/version/shots",
       "QRV_CAPTURE: '/proc/version/shots' cannot be made: "},
      {"QRV_FRAMES=3 QRV_REPLAY={dir}/missing.replay", "QRV_REPLAY: cannot read "},
      {"QRV_FRAMES=3 QRV_REPLAY=/etc/passwd", "QRV_REPLAY: /etc/passwd: line 1: "},
      {"QRV_FRAMES=3 QRV_RECORD=/nonexistent/keys.txt",
       "QRV_RECORD: cannot write /nonexistent/keys.txt"},
  };
  for (const BadHook& bad : cases) {
    // Windows names a path from the root with its drive ("Z:\\etc\\passwd"), and has no /proc.
    if (test_host::IsWindows() && std::string(bad.environment).find("=/") != std::string::npos) {
      continue;
    }
    SCOPED_TRACE(bad.environment);
    bool captured = false;
    public_test::Outcome outcome =
        public_test::RunToEnd(frame_test::ProgramPath("frame_probe"), bad.environment, "",
                              [&](const std::string& folder) {
                                captured = fs::exists(folder + "/shots/frame-000002.png");
                              });
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find(bad.message), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.log.find(bad.message), std::string::npos) << outcome.log;
    EXPECT_EQ(outcome.log.find("Init Finalized"), std::string::npos) << outcome.log;
    EXPECT_FALSE(captured);
  }
  // The program's own ends keep exit status 0.
  public_test::Outcome good =
      public_test::RunToEnd(frame_test::ProgramPath("frame_probe"),
                            "QRV_FRAMES=3 QRV_CAPTURE={dir}/shots QRV_CAPTURE_FRAMES=every:2");
  EXPECT_EQ(good.exitCode, 0);
  EXPECT_EQ(good.errors, "");
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Started from a folder that is not the program's: relative QRV_REPLAY, QRV_RECORD and
// QRV_CAPTURE names all land in the start folder, none in the program's folder.
TEST(AutomationHooks, RelativePathsBelongToTheStartFolder) {
  const std::string unique = std::to_string(getpid());
  const std::string record = "recorded-" + unique + ".txt", shots = "shots-" + unique;
  frame_test::ProgramRun run(
      frame_test::ProgramPath("input_keys"), {},
      {{"QRV_REPLAY", "space.replay"},
       {"QRV_RECORD", record},
       {"QRV_CAPTURE", shots},
       {"QRV_CAPTURE_FRAMES", "2"},
       {"QRV_FRAMES", "3"},
       {"QRV_UNPACED", "1"}},
      [](const std::string& folder) { std::ofstream(folder + "/space.replay") << "1 57\n2\n"; });
  ASSERT_EQ(run.Wait(), 0);
  const std::string folder = run.Folder();
  EXPECT_EQ(ReadAll(folder + "/keys.txt"), "0\n1 57\n2\n");
  EXPECT_NE(ReadAll(folder + "/" + record).find("\n1 57\n2\n"), std::string::npos)
      << ReadAll(folder + "/" + record);
  EXPECT_TRUE(fs::exists(folder + "/" + shots + "/frame-000002.png"));
  const std::string programFolder =
      fs::path(frame_test::ProgramPath("input_keys")).parent_path().string();
  EXPECT_FALSE(fs::exists(programFolder + "/" + record));
  EXPECT_FALSE(fs::exists(programFolder + "/" + shots));
}

}  // namespace
