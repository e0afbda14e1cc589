// Failures that speak: a recorded error reaches standard error when QRV_VERBOSE or the debug
// flag asks for it, and a program without a display says so and ends with exit status 1.
#include <gtest/gtest.h>

#include <string>

#include "frame/process_runner.h"
#include "public/program_outcome.h"

namespace {

public_test::Outcome RunLoadMissing(const std::string& environment, const std::string& args = "") {
  return public_test::RunToEnd(frame_test::ProgramPath("load_missing"),
                               environment + " QRV_FRAMES=3", args);
}

const char kMissingLine[] = "LoadSprite: Media/missing.png: no such file\n";

TEST(FailureReport, VerboseOrDebugRunsNameTheCommandFileAndReason) {
  public_test::Outcome verbose = RunLoadMissing("QRV_VERBOSE=1");
  EXPECT_EQ(verbose.exitCode, 0);
  EXPECT_NE(verbose.errors.find(kMissingLine), std::string::npos) << verbose.errors;

  public_test::Outcome debug = RunLoadMissing("", "--debug");
  EXPECT_NE(debug.errors.find(kMissingLine), std::string::npos) << debug.errors;

  public_test::Outcome quiet = RunLoadMissing("QRV_VERBOSE=0");
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_EQ(quiet.errors.find("LoadSprite"), std::string::npos) << quiet.errors;
}

TEST(FailureReport, WithoutADisplayTheProgramSaysSoAndEnds) {
  if (test_host::IsWindows()) {
    GTEST_SKIP() << "Wine draws on the display it started with, whatever the program's "
                    "environment says";
  }
  public_test::Outcome outcome = RunLoadMissing("-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.errors.find("no display\n"), std::string::npos) << outcome.errors;
  EXPECT_NE(outcome.log.find("No window or OpenGL context available\r\n"), std::string::npos)
      << outcome.log;
}

}  // namespace
