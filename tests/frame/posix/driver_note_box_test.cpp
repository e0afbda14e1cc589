// The software-renderer note's box on an X display that cannot show it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "frame/process_runner.h"

namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;
using frame_test::VirtualDisplay;

const char kBoxTitle[] = "No OpenGL Hardware Drivers";

// A display without the fonts the box needs and no fallback program: the program says why
// nobody saw the note, in the log and on standard error, and goes on.
TEST(DriverNote, BoxThatCannotBeShownIsReported) {
  if (!frame_test::SoftwareRenderer()) GTEST_SKIP() << "the renderer is hardware here";
  VirtualDisplay display({"-fp", "built-ins"});
  ASSERT_FALSE(display.Name().empty()) << "no Xvfb";
  ProgramRun run(frame_test::ProgramPath("frame_probe"), {},
                 {{"DISPLAY", display.Name()}, {"PATH", "/nonexistent"}},
                 [](const std::string& dir) { std::ofstream(dir + "/opengldriver.txt") << "x"; });
  ASSERT_TRUE(Eventually([&] { return run.Presents() > 5; })) << "the program waits";
  std::vector<std::string> log = run.LogLines();
  const std::string start = std::string("Cannot show the message box \"") + kBoxTitle + "\": ";
  auto line = std::find_if(log.begin(), log.end(),
                           [&](const std::string& l) { return l.rfind(start, 0) == 0; });
  ASSERT_NE(line, log.end());
  EXPECT_GT(line->size(), start.size()) << "no reason given";
}

}  // namespace
