// Whole programs under the display: real X key events pressed with xdotool reach KeyDown
// as the right scan codes, the focus rule, replay scripts give the same key table at the
// same present numbers, and a recorded session replays identically; key and button edges
// come at their presents, a tap inside one frame included, and replay exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "frame/process_runner.h"

namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;
using frame_test::Shell;
using Env = std::vector<std::pair<std::string, std::string>>;

// How long a program may take to show what a key or focus change did: it answers within a
// frame or two, but a loaded machine (and Wine's window messages between processes) can
// hold it up for seconds.
constexpr double kSeen = 20;

const std::string kProgram = frame_test::ProgramPath("input_keys");

std::vector<std::string> OutputLines(const ProgramRun& run) {
  std::ifstream in(run.Folder() + "/keys.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The codes of the program's newest complete line (the last one may be half written).
std::vector<int> HeldNow(const ProgramRun& run) {
  std::vector<std::string> lines = OutputLines(run);
  std::vector<int> codes;
  if (lines.size() < 2) return codes;
  std::istringstream line(lines[lines.size() - 2]);
  int value;
  line >> value;
  while (line >> value) codes.push_back(value);
  return codes;
}

bool Holds(const ProgramRun& run, int code) {
  std::vector<int> codes = HeldNow(run);
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Finds the program's window and gives it the keyboard focus.
void FocusProgramWindow() {
  std::string id = Shell("xdotool search --sync --onlyvisible --name '^input keys' | head -1");
  ASSERT_FALSE(id.empty());
  Shell("xdotool windowfocus --sync " + id);
}

// A file of the test's own, in a folder removed when the test program ends.
std::string ScratchFile(const std::string& name) {
  static const frame_test::ScratchFolder folder("qrv-input");
  return folder.Path() + "/input-" + name + ".txt";
}

// A script file of the test's own, for QRV_REPLAY.
std::string WriteScript(const std::string& name, const std::string& text) {
  std::string path = ScratchFile(name);
  std::ofstream(path) << text;
  return path;
}

TEST(KeysProgram, RealKeyEventsGiveTheirScanCodes) {
  ProgramRun run(kProgram, {});
  FocusProgramWindow();
  const std::pair<const char*, int> keys[] = {
      {"Right", 205},  {"Left", 203},     {"Up", 200},        {"Down", 208},
      {"Shift_L", 42}, {"Shift_R", 54},   {"Alt_L", 56},      {"F4", 62},
      {"Escape", 1},   {"KP_Enter", 156}, {"Control_R", 157}, {"Control_L", 29},
      {"Return", 28},  {"space", 57},     {"a", 30},          {"Delete", 211},
  };
  for (auto [name, code] : keys) {
    Shell(std::string("xdotool keydown ") + name);
    EXPECT_TRUE(Eventually([&] { return Holds(run, code); }, kSeen)) << name;
    Shell(std::string("xdotool keyup ") + name);
    EXPECT_TRUE(Eventually([&] { return HeldNow(run).empty(); }, kSeen)) << name;
  }
  // Both keys stay down until the program has seen them together at a present.
  Shell("xdotool keydown Alt_L keydown F4");
  EXPECT_EQ(run.Wait(10), 0);  // Alt+F4 ends the program
  Shell("xdotool keyup F4 keyup Alt_L");
}

TEST(KeysProgram, KeyHeldWhenFocusGoesStaysHeldUntilItReturns) {
  // A display of the test's own: no other program's window can take part in the focus dance.
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "no Xvfb";
  const Env env{{"DISPLAY", display.Name()}};
  ProgramRun run(kProgram, {}, env);
  ProgramRun other(kProgram, {}, env);  // a second window to take the focus
  std::string ids;
  ASSERT_TRUE(Eventually(
      [&] {
        ids = display.Tool("xdotool search --onlyvisible --name '^input keys'");
        return ids.find('\n') != std::string::npos;
      },
      60))
      << "two windows expected, found: " << ids;
  std::string first = ids.substr(0, ids.find('\n'));
  std::string second = ids.substr(ids.find('\n') + 1);
  display.Tool("xdotool windowfocus --sync " + first);
  display.Tool("xdotool keydown Right");
  ASSERT_TRUE(Eventually([&] { return Holds(run, 205) || Holds(other, 205); }, kSeen));
  ProgramRun& focused = Holds(run, 205) ? run : other;
  display.Tool("xdotool windowfocus --sync " + second + " keyup Right");
  size_t before = OutputLines(focused).size();
  ASSERT_TRUE(Eventually([&] { return OutputLines(focused).size() > before + 20; }, kSeen));
  EXPECT_TRUE(Holds(focused, 205));  // still held: the table is kept while unfocused
  display.Tool("xdotool windowfocus --sync " + first);
  EXPECT_TRUE(Eventually([&] { return !Holds(focused, 205); }, kSeen));
}

TEST(KeysProgram, ReplayHoldsRightFromTenToForty) {
  std::string script = WriteScript("right", "# Right from present 10 to 40\n10 205\n40\n");
  for (int run_number = 0; run_number < 2; ++run_number) {
    ProgramRun run(kProgram, {},
                   Env{{"QRV_REPLAY", script}, {"QRV_FRAMES", "50"}, {"QRV_UNPACED", "1"}});
    ASSERT_EQ(run.Wait(), 0);
    std::vector<std::string> lines = OutputLines(run);
    ASSERT_EQ(lines.size(), 50u);
    for (int present = 0; present < 50; ++present) {
      std::string expected = std::to_string(present);
      if (present >= 10 && present < 40) expected += " 205";
      EXPECT_EQ(lines[present], expected);
    }
  }
}

TEST(KeysProgram, ReplayedEscapeEndsAtItsPresent) {
  std::string script = WriteScript("escape", "0 200\n5 1\n");
  ProgramRun run(kProgram, {"escape"},
                 Env{{"QRV_REPLAY", script}, {"QRV_FRAMES", "100"}, {"QRV_UNPACED", "1"}});
  ASSERT_EQ(run.Wait(), 0);
  std::vector<std::string> lines = OutputLines(run);
  ASSERT_EQ(lines.size(), 5u);  // the 5th present ends the program before it returns
  EXPECT_EQ(lines.back(), "4 200");
}

TEST(KeysProgram, FaultyScriptStopsTheProgramNamingTheLine) {
  std::string script = WriteScript("faulty", "3 205\n4 205 999\n");
  ProgramRun run(kProgram, {}, Env{{"QRV_REPLAY", script}, {"QRV_FRAMES", "100"}});
  ASSERT_EQ(run.Wait(), 2);
  EXPECT_TRUE(OutputLines(run).empty());
  std::vector<std::string> log = run.LogLines();
  // The script by its name as the host spells it (Windows adds the drive).
  const std::string reason = ": line 2: expected a scan code 0..255";
  EXPECT_NE(
      std::find_if(log.begin(), log.end(),
                   [&](const std::string& line) {
                     return line.rfind("QRV_REPLAY: ", 0) == 0 && line.size() > reason.size() &&
                            line.compare(line.size() - reason.size(), reason.size(), reason) == 0 &&
                            (test_host::IsWindows() || line == "QRV_REPLAY: " + script + reason);
                   }),
      log.end());
  // A "script" without end is refused once it is longer than any script.
  if (test_host::IsWindows()) return;  // no endless device file there
  ProgramRun endless(kProgram, {}, Env{{"QRV_REPLAY", "/dev/zero"}, {"QRV_FRAMES", "100"}});
  ASSERT_EQ(endless.Wait(), 2);
  log = endless.LogLines();
  const std::string message = "QRV_REPLAY: /dev/zero: larger than 16 MiB";
  EXPECT_NE(std::find(log.begin(), log.end(), message), log.end());
}

TEST(KeysProgram, RecordedSessionReplaysIdentically) {
  std::string record = ScratchFile("recorded");
  std::vector<std::string> live;
  {
    ProgramRun run(kProgram, {}, Env{{"QRV_RECORD", record}});
    FocusProgramWindow();
    for (const char* step : {"keydown Right", "keydown Shift_L", "keyup Shift_L", "keyup Right",
                             "keydown a", "keydown Left", "keyup a", "keyup Left"}) {
      Shell(std::string("xdotool ") + step + " sleep 0.1");
    }
    Shell("xdotool keydown Alt_L keydown F4");
    ASSERT_EQ(run.Wait(10), 0);
    Shell("xdotool keyup F4 keyup Alt_L");
    live = OutputLines(run);
  }
  ASSERT_GT(live.size(), 20u);
  ProgramRun replay(kProgram, {}, Env{{"QRV_REPLAY", record}, {"QRV_UNPACED", "1"}});
  ASSERT_EQ(replay.Wait(), 0);  // the recorded Alt+F4 ends the replay too
  EXPECT_EQ(OutputLines(replay), live);
}

// A program that polls a key without presenting sees it while recording, the recording
// holds what it saw (its replay sees the key at the same reading), and a termination
// signal still ends it.
TEST(KeysProgram, PollingWithoutPresentingSeesKeysAndEndsOnSignal) {
  frame_test::ScratchFolder folder("qrv-polled");
  std::string record = folder.Path() + "/input-polled.txt";
  {
    ProgramRun run(kProgram, {"poll-space"}, Env{{"QRV_RECORD", record}});
    FocusProgramWindow();
    Shell("xdotool keydown space sleep 0.2 keyup space");
    ASSERT_EQ(run.Wait(10), 0);
    EXPECT_EQ(OutputLines(run), std::vector<std::string>{"space"});
  }
  {
    ProgramRun replay(kProgram, {"poll-space"}, Env{{"QRV_REPLAY", record}});
    EXPECT_EQ(replay.Wait(10), 0);
    EXPECT_EQ(OutputLines(replay), std::vector<std::string>{"space"});
  }
  ProgramRun polling(kProgram, {"poll-space"}, Env{{"QRV_RECORD", record}});
  FocusProgramWindow();
  polling.AskToStop();
  EXPECT_EQ(polling.Wait(10), 0);
  EXPECT_TRUE(OutputLines(polling).empty());
}

// Edges at exact presents from a script, the tap inside one frame (*Space) included.
TEST(KeysProgram, ReplayedEdgesComeAtTheirPresents) {
  std::string script = WriteScript("edges",
                                   "# Space held from 3 to 6 and tapped at 8;\n"
                                   "# Right let go and pressed again before 12\n"
                                   "3 Space\n6\n8 *Space\n10 Right\n12 Right *Right\n13\n");
  ProgramRun run(kProgram, {"edges"},
                 Env{{"QRV_REPLAY", script}, {"QRV_FRAMES", "15"}, {"QRV_UNPACED", "1"}});
  ASSERT_EQ(run.Wait(), 0);
  std::string lines;
  for (const std::string& line : OutputLines(run)) lines += line + "\n";
  EXPECT_EQ(lines,
            "0\n1\n2\n"
            "3 57 +57\n4 57\n5 57\n6 -57\n"  // held from 3 to 6
            "7\n8 +57 -57\n9\n"              // tapped at 8: both edges, never held
            "10 205 +205\n11 205\n"
            "12 205 +205 -205\n"  // held at 11 and 12, and tapped between them
            "13 -205\n14\n");
}

// The lines (by index) holding `token` as one of their words.
std::vector<size_t> LinesWith(const std::vector<std::string>& lines, const std::string& token) {
  std::vector<size_t> found;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::istringstream words(lines[i]);
    for (std::string word; words >> word;) {
      if (word == token) found.push_back(i);
    }
  }
  return found;
}

// The program's window on `display`, with the keyboard focus.
std::string FocusWindowOn(const frame_test::VirtualDisplay& display) {
  std::string id =
      display.Tool("xdotool search --sync --onlyvisible --name '^input keys' | head -1");
  if (!id.empty()) display.Tool("xdotool windowfocus --sync " + id);
  return id;
}

// Taps with no pause between key down and key up fall between two of present's samples (a
// sample may rarely see one held). Either way each key is hit once and released once, and
// the recording replays the same lines. A display of the test's own keeps other tests' keys
// out.
TEST(KeysProgram, RecordedShortTapsReplayWithTheSameEdges) {
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "no Xvfb";
  std::string record = ScratchFile("taps");
  std::vector<std::string> live;
  {
    ProgramRun run(kProgram, {"edges"}, Env{{"DISPLAY", display.Name()}, {"QRV_RECORD", record}});
    ASSERT_FALSE(FocusWindowOn(display).empty());
    display.Tool("xdotool keydown --delay 0 space keyup --delay 0 space sleep 0.2");
    display.Tool("xdotool keydown --delay 0 a keyup --delay 0 a sleep 0.2");
    display.Tool("xdotool keydown Right sleep 0.5 keyup Right sleep 0.2");
    display.Tool("xdotool keydown Alt_L keydown F4");
    ASSERT_EQ(run.Wait(10), 0);
    display.Tool("xdotool keyup F4 keyup Alt_L");
    live = OutputLines(run);
  }
  for (int code : {57, 30, 205}) {
    std::vector<size_t> hits = LinesWith(live, "+" + std::to_string(code));
    std::vector<size_t> releases = LinesWith(live, "-" + std::to_string(code));
    ASSERT_EQ(hits.size(), 1u) << "key " << code;
    ASSERT_EQ(releases.size(), 1u) << "key " << code;
    EXPECT_LE(hits[0], releases[0]) << "key " << code;
  }
  // Right was held over several presents: seen held between its hit and its release.
  EXPECT_LT(LinesWith(live, "+205")[0], LinesWith(live, "-205")[0]);
  ProgramRun replay(kProgram, {"edges"}, Env{{"QRV_REPLAY", record}, {"QRV_UNPACED", "1"}});
  ASSERT_EQ(replay.Wait(), 0);  // the recorded Alt+F4 ends the replay too
  EXPECT_EQ(OutputLines(replay), live);
}

// Buttons as the mouse commands number them: 1 left, 2 right, 3 middle (the X buttons 1, 3,
// 2), each pressed and let go with no pause and hit at exactly one present, in order.
TEST(KeysProgram, EachMouseClickIsHitOnce) {
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty()) << "no Xvfb";
  ProgramRun run(kProgram, {"edges"}, Env{{"DISPLAY", display.Name()}});
  std::string id = FocusWindowOn(display);
  ASSERT_FALSE(id.empty());
  display.Tool("xdotool mousemove --window " + id + " 40 40 sleep 0.1");
  for (const char* button : {"1", "3", "2"}) {
    display.Tool(std::string("xdotool mousedown ") + button + " mouseup " + button + " sleep 0.1");
  }
  size_t before = OutputLines(run).size();
  ASSERT_TRUE(Eventually([&] { return OutputLines(run).size() > before + 5; }, kSeen));
  run.AskToStop();
  EXPECT_EQ(run.Wait(10), 0);
  std::vector<std::string> lines = OutputLines(run);
  std::vector<size_t> left = LinesWith(lines, "m1"), right = LinesWith(lines, "m2"),
                      middle = LinesWith(lines, "m3");
  ASSERT_EQ(left.size(), 1u);
  ASSERT_EQ(right.size(), 1u);
  ASSERT_EQ(middle.size(), 1u);
  EXPECT_LE(left[0], right[0]);
  EXPECT_LE(right[0], middle[0]);
}

TEST(KeysProgram, WaitForKeyWaitsForATypedKey) {
  ProgramRun run(kProgram, {"wait-key"});
  FocusProgramWindow();
  Shell("sleep 0.3");
  EXPECT_TRUE(OutputLines(run).empty());
  // Held as long as a finger holds it: the wait reads the key table, and a tap that goes
  // down and up between two readings is not seen.
  Shell("xdotool keydown b sleep 0.1 keyup b");
  EXPECT_TRUE(Eventually([&] {
    std::vector<std::string> lines = OutputLines(run);
    return !lines.empty() && lines[0] == "waited";
  }));
}

}  // namespace
