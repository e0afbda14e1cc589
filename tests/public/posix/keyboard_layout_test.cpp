// Shifted characters come from the display server's keyboard layout and follow a layout
// switched while the program runs. Shift is held by a replay script, so the program's key
// table does not depend on real key events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "frame/process_runner.h"

namespace {

std::string LastLine(const std::string& path) {
  std::ifstream in(path);
  std::string line, last;
  while (std::getline(in, line)) last = line;
  return last;
}

TEST(KeyboardLayout, ShiftedCharactersFollowTheLayoutSwitchedWhileRunning) {
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "no private X display could be started";
  ASSERT_EQ(display.Tool("setxkbmap -layout us && echo ok"), "ok");

  char replay[] = "/tmp/qrv-shift-XXXXXX";
  const int fd = mkstemp(replay);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "0 42\n", 5), 5);  // Left Shift held from the start
  close(fd);
  {
    frame_test::ProgramRun run(frame_test::ProgramPath("key_chars"), {},
                               {{"DISPLAY", display.Name()}, {"QRV_REPLAY", replay}});
    const std::string chars = run.Folder() + "/chars.txt";
    // US: '@' over 2, '_' over minus, 'Y'.
    EXPECT_TRUE(frame_test::Eventually([&] { return LastLine(chars) == "64 95 89"; }))
        << LastLine(chars);
    ASSERT_EQ(display.Tool("setxkbmap -layout de && echo ok"), "ok");
    // German: '"' over 2, '?' over the sharp s, and Z where US has Y.
    EXPECT_TRUE(frame_test::Eventually([&] { return LastLine(chars) == "34 63 90"; }))
        << LastLine(chars);
    run.AskToStop();
    EXPECT_EQ(run.Wait(), 0);
  }
  std::remove(replay);
}

}  // namespace
