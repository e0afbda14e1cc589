// The window scale with whole programs under the virtual display: the window grows, the
// game still sees and captures its own size, the window shows each game pixel as a
// block, and the pointer reads in game pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <fstream>
#include <sstream>

#include "frame/process_runner.h"
#include "image_fixtures.h"
#include "quorvia/graphics2d.h"

namespace qrv::test {
namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;
using frame_test::Shell;

const std::string kProgram = frame_test::ProgramPath("screen_probe");

// The probe's window id once it is shown; empty when it never is. The tools run on the
// display named by the prefix ("DISPLAY=:N "), else on the test's own.
std::string ProbeWindow(const std::string& display = "") {
  return Shell(display + "xdotool search --sync --onlyvisible --name '^screen probe' | head -1");
}

// "W H" of a window, from xwininfo.
std::string WindowSize(const std::string& id, const std::string& display = "") {
  return Shell(display + "xwininfo -id " + id +
               " | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w\" \"h}'");
}

// The probe's last "x y width height" line in mouse mode.
std::string MouseLine(const ProgramRun& run) {
  std::ifstream in(run.Folder() + "/mouse.txt");
  std::string line;
  std::getline(in, line);
  return line;
}

TEST(WindowScale, CapturesAndSavedScreensStayInGameSize) {
  // The same run unscaled and scaled twice over: identical captured and saved frames.
  const auto frames = [](const char* scale, std::string* captured, std::string* saved) {
    frame_test::ScratchFolder folder("qrv-scale");
    const std::string& shots = folder.Path();
    {
      ProgramRun run(kProgram, {"save"},
                     {{"QRV_UNPACED", "1"},
                      {"QRV_FRAMES", "2"},
                      {"QRV_SCALE", scale},
                      {"QRV_CAPTURE_FRAMES", "1"},
                      {"QRV_CAPTURE", shots}});
      ASSERT_EQ(run.Wait(), 0);
      std::ifstream in(run.Folder() + "/saved.png", std::ios::binary);
      *saved = std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::ifstream in(shots + "/frame-000001.png", std::ios::binary);
    *captured = std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::string plainFrame, plainSaved, scaledFrame, scaledSaved;
  frames("1", &plainFrame, &plainSaved);
  frames("2", &scaledFrame, &scaledSaved);
  ASSERT_FALSE(plainFrame.empty());
  ASSERT_FALSE(plainSaved.empty());
  EXPECT_TRUE(scaledFrame == plainFrame);
  EXPECT_TRUE(scaledSaved == plainSaved);
}

TEST(WindowScale, TheWindowShowsEachGamePixelAsABlock) {
  ProgramRun run(kProgram, {"prompt"}, {{"QRV_UNPACED", "1"}, {"QRV_SCALE", "2"}});
  const std::string id = ProbeWindow();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(WindowSize(id), "320 240");
  std::this_thread::sleep_for(std::chrono::microseconds(300000));
  const std::string shot = run.Folder() + "/window.png";
  Shell("import -window " + id + " '" + shot + "'");
  RgbaImage image;
  ASSERT_TRUE(LoadImageFile(image, shot, kNoColourKey));
  ASSERT_EQ(image.width, 320);
  ASSERT_EQ(image.height, 240);
  int32_t broken = 0, text = 0;
  for (int32_t y = 0; y < 240; y += 2) {
    for (int32_t x = 0; x < 320; x += 2) {
      const uint32_t pixel = ColourAt(image, x, y);
      if (ColourAt(image, x + 1, y) != pixel || ColourAt(image, x, y + 1) != pixel ||
          ColourAt(image, x + 1, y + 1) != pixel) {
        ++broken;
      }
      if (pixel != 0x400000u) ++text;
    }
  }
  EXPECT_EQ(broken, 0);
  EXPECT_GT(text, 0);  // the prompt's letters: something finer than the background
  EXPECT_EQ(ColourAt(image, 300, 200), 0x400000u);
}

TEST(WindowScale, ZeroTakesTheLargestScaleThatFits) {
  // A display of its own, 1024 x 768: six times 160 x 120 fits, seven does not.
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty());
  const std::string on = "DISPLAY=" + display.Name() + " ";
  ASSERT_EQ(Shell(on + "xdpyinfo | awk '/dimensions:/{print $2}'"), "1024x768");
  ProgramRun run(kProgram, {"prompt"},
                 {{"DISPLAY", display.Name()}, {"QRV_UNPACED", "1"}, {"QRV_SCALE", "0"}});
  const std::string id = ProbeWindow(on);
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(WindowSize(id, on), "960 720");
}

TEST(WindowScale, WithoutFrameBuffersTheWindowStaysUnscaled) {
  ProgramRun run(
      kProgram, {"mouse"},
      {{"QRV_UNPACED", "1"}, {"QRV_SCALE", "2"}, {"QRV_GL_HIDE", "GL_EXT_framebuffer_object"}});
  const std::string id = ProbeWindow();
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(WindowSize(id), "160 120");
  Shell("xdotool mousemove --sync --window " + id + " 30 40");
  EXPECT_TRUE(Eventually([&] { return MouseLine(run) == "30 40 160 120"; })) << MouseLine(run);
  const auto log = run.LogLines();
  EXPECT_NE(std::find_if(log.begin(), log.end(),
                         [](const std::string& line) { return line.starts_with("QRV_SCALE:"); }),
            log.end());
}

TEST(WindowScale, ThePointerReadsInGamePixels) {
  ProgramRun run(kProgram, {"mouse"}, {{"QRV_UNPACED", "1"}, {"QRV_SCALE", "2"}});
  const std::string id = ProbeWindow();
  ASSERT_FALSE(id.empty());
  Shell("xdotool mousemove --sync --window " + id + " 200 100");
  EXPECT_TRUE(Eventually([&] { return MouseLine(run) == "100 50 160 120"; })) << MouseLine(run);
}

}  // namespace
}  // namespace qrv::test
