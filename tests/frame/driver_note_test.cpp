// The software-renderer report: the error-log line, and the "opengldriver.txt" box that
// appears only when that file exists and someone may be at the screen.
#include <gtest/gtest.h>

#include <algorithm>

#include "process_runner.h"

namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;
using frame_test::VirtualDisplay;

const char kBoxTitle[] = "No OpenGL Hardware Drivers";

struct NoteCase {
  const char* name;
  const char* fileText;  // null: no "opengldriver.txt"
  bool unattended;       // QRV_FRAMES set
  bool boxShown;
};

TEST(DriverNote, BoxOnlyWithTheFileAndSomeoneAtTheScreen) {
  if (!frame_test::SoftwareRenderer()) GTEST_SKIP() << "the renderer is hardware here";
  const NoteCase cases[] = {
      {"file with text", "Install the vendor driver.", false, true},
      {"empty file: built-in text", "", false, true},
      {"no file", nullptr, false, false},
      {"unattended run", "Install the vendor driver.", true, false},
  };
  for (const NoteCase& c : cases) {
    VirtualDisplay display;
    std::vector<std::pair<std::string, std::string>> env = {{"DISPLAY", display.Name()}};
    if (c.unattended) env.emplace_back("QRV_FRAMES", "100000");
    ProgramRun run(frame_test::ProgramPath("frame_probe"), {}, env, [&](const std::string& dir) {
      if (c.fileText != nullptr) std::ofstream(dir + "/opengldriver.txt") << c.fileText;
    });
    auto box = [&] {
      return display.Tool(std::string("xwininfo -root -tree | grep '\"") + kBoxTitle +
                          "\"' | awk '{print $1}' | head -1");
    };
    if (c.boxShown) {
      ASSERT_TRUE(Eventually([&] { return !box().empty(); }, 60)) << c.name;
      // The program waits for the box and goes on once it is closed.
      EXPECT_EQ(run.Presents(), -1) << c.name;
      display.Tool("xdotool windowfocus --sync " + box());
      display.Tool("xdotool keydown Return sleep 0.1 keyup Return");
    }
    ASSERT_TRUE(Eventually([&] { return run.Presents() > 5; })) << c.name;
    EXPECT_EQ(box(), "") << c.name;
    std::vector<std::string> log = run.LogLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "*** OpenGL Software Emulation - update driver!"),
              1)
        << c.name;
  }
}

}  // namespace
