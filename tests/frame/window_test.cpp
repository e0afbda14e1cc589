// The program window driven from outside with the X tools, on a private display: focus
// loss pauses and focus gain resumes, the ending keys, placement, hidden start and
// fullscreen modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "process_runner.h"

namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;
using frame_test::VirtualDisplay;

class Window : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(display_.Name().empty()) << "no Xvfb"; }

  // Starts the probe on the private display and waits for its first presents.
  void Start(std::vector<std::string> args,
             std::vector<std::pair<std::string, std::string>> env = {}) {
    env.emplace_back("DISPLAY", display_.Name());
    run_ = std::make_unique<ProgramRun>(frame_test::ProgramPath("frame_probe"), args, env);
    ASSERT_TRUE(Eventually([&] { return run_->Presents() > 0; })) << "no presents";
    id_ = display_.Tool("xdotool search --name '^FrameProbe'");
    ASSERT_FALSE(id_.empty()) << "no window";
  }
  std::string Title() { return display_.Tool("xdotool getwindowname " + id_); }
  void Focus() { display_.Tool("xdotool windowfocus --sync " + id_); }
  void FocusElsewhere() {
    std::string root = display_.Tool("xwininfo -root | awk '/Window id/{print $4}'");
    display_.Tool("xdotool windowfocus " + root);
  }
  // Holds the keys for a few frames, as a hand would: a tap shorter than a frame can fall
  // between two samples of the keyboard.
  void Keys(const std::string& keys) {
    display_.Tool("xdotool keydown " + keys);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    display_.Tool("xdotool keyup " + keys);
  }
  // Whether presents go on. A program presents every frame, but Wine can hold its window
  // messages up for a while around a focus change, so they count if they come in seconds.
  bool Presenting() {
    long before = run_->Presents();
    return Eventually([&] { return run_->Presents() > before; }, 10);
  }
  // Whether presents stop: none over a stretch of several frame intervals.
  bool Paused() {
    long before = run_->Presents();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return run_->Presents() == before;
  }

  VirtualDisplay display_;
  std::unique_ptr<ProgramRun> run_;
  std::string id_;
};

TEST_F(Window, FocusLossPausesAndFocusGainResumes) {
  Start({});
  Focus();
  FocusElsewhere();
  ASSERT_TRUE(Eventually([&] { return Title() == "FrameProbe <pause>"; })) << Title();
  // The present that saw the focus go still returns; the next one holds the game.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(Paused());
  Focus();
  ASSERT_TRUE(Eventually([&] { return Title() == "FrameProbe"; })) << Title();
  EXPECT_TRUE(Presenting());
  Keys("Escape");
  EXPECT_EQ(run_->Wait(), 0);
}

TEST_F(Window, FocusDoesNotMatterWithoutAutoPauseWhenDebuggingOrUnattended) {
  const struct {
    const char* option;
    const char* frames;
  } cases[] = {{"--no-autopause", nullptr}, {"--debug", nullptr}, {"", "100000"}};
  for (const auto& c : cases) {
    std::vector<std::pair<std::string, std::string>> env;
    if (c.frames != nullptr) env.emplace_back("QRV_FRAMES", c.frames);
    Start({c.option}, env);
    Focus();
    FocusElsewhere();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(Title(), "FrameProbe") << c.option;
    EXPECT_TRUE(Presenting()) << c.option;
    Focus();
    Keys("Escape");
    EXPECT_EQ(run_->Wait(), 0) << c.option;
  }
}

TEST_F(Window, EscapeCanBeDisallowedAltF4Still) {
  Start({"--no-escape"});
  Focus();
  Keys("Escape");
  EXPECT_TRUE(Presenting());
  EXPECT_EQ(run_->Wait(0.3), -1);
  Keys("alt+F4");
  EXPECT_EQ(run_->Wait(), 0);
  EXPECT_EQ(run_->LogLines().back(), "qrv is shut down");
}

TEST_F(Window, WindowIsCentredOnTheScreen) {
  Start({});
  std::string geometry = display_.Tool("xdotool getwindowgeometry " + id_);
  EXPECT_NE(geometry.find("Position: 192,144"), std::string::npos) << geometry;
  EXPECT_NE(geometry.find("Geometry: 640x480"), std::string::npos) << geometry;
}

TEST_F(Window, HiddenStartKeepsTheWindowHidden) {
  Start({}, {{"QRV_START_HIDDEN", "1"}});
  EXPECT_TRUE(Presenting());
  EXPECT_EQ(display_.Tool("xdotool search --onlyvisible --name '^FrameProbe'"), "");
}

struct ModeCase {
  std::vector<std::string> args;
  std::string report;
  bool modeMissing;
};

TEST_F(Window, FullscreenUsesTheDisplayModeOrFallsBackToAWindow) {
  const ModeCase cases[] = {
      {{"--fullscreen", "1024", "768"},
       "screen 1024 768 viewport 0 0 1024 768 fullscreen 1",
       false},
      {{"--fullscreen", "640", "480"}, "screen 640 480 viewport 0 0 640 480 fullscreen 0", true},
      {{}, "screen 640 480 viewport 0 0 640 480 fullscreen 0", false},
      {{"--switch", "1024", "768", "1"},
       "screen 1024 768 viewport 0 0 1024 768 fullscreen 1",
       false},
      {{"--fullscreen", "1024", "768", "--switch", "800", "600", "0"},
       "screen 800 600 viewport 0 0 800 600 fullscreen 0",
       false},
  };
  for (const ModeCase& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--report");
    ProgramRun run(frame_test::ProgramPath("frame_probe"), args,
                   {{"QRV_FRAMES", "10"}, {"DISPLAY", display_.Name()}});
    ASSERT_EQ(run.Wait(), 0);
    std::vector<std::string> log = run.LogLines();
    auto has = [&](const std::string& line) {
      return std::find(log.begin(), log.end(), line) != log.end();
    };
    bool reported = std::any_of(log.begin(), log.end(), [&](const std::string& line) {
      return line.rfind(c.report, 0) == 0;
    });
    EXPECT_TRUE(reported) << c.report;
    EXPECT_EQ(has("No Fullscreen Mode available"), c.modeMissing) << c.report;
  }
}

TEST_F(Window, MessageHookRunsForWaitingEvents) {
  Start({"--msg-hook"});
  Focus();
  FocusElsewhere();
  Focus();
  Keys("Escape");
  ASSERT_EQ(run_->Wait(), 0);
  std::vector<std::string> log = run_->LogLines();
  auto line = std::find_if(log.begin(), log.end(),
                           [](const std::string& l) { return l.rfind("hook calls ", 0) == 0; });
  ASSERT_NE(line, log.end());
  // The focus changes and the key press went through the hook.
  EXPECT_GE(std::stol(line->substr(11)), 2) << *line;
}

}  // namespace
