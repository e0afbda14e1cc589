// Whole runtime programs: the saved screen is the frame the player saw, the cross-fade
// blends the old background into the new one, and the text prompt reads real X key events.
#include <gtest/gtest.h>

#include <fstream>
#include <chrono>
#include <thread>

#include "frame/process_runner.h"
#include "image_fixtures.h"
#include "quorvia/graphics2d.h"

namespace qrv::test {
namespace {

using frame_test::ProgramRun;
using frame_test::Shell;

const std::string kProgram = frame_test::ProgramPath("screen_probe");

RgbaImage Load(const std::string& path) {
  RgbaImage image;
  EXPECT_TRUE(LoadImageFile(image, path, kNoColourKey)) << path;
  return image;
}

// A folder for the captured frames (the capture folder must be given before the program's
// own folder exists), removed afterwards.
class Shots {
 public:
  const std::string& Folder() const { return folder_.Path(); }
  RgbaImage Frame(int frame) const {
    char name[40];
    std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
    RgbaImage image = Load(folder_.Path() + name);
    if (image.Empty()) image.Resize(160, 120);  // the failure is reported; the checks go on
    return image;
  }

 private:
  frame_test::ScratchFolder folder_{"qrv-shots"};
};

// The kept frame is copied from wherever the game draws: the window, or (scaled) the frame
// buffer of the game's size; without frame buffers a scale asked for leaves it the window.
// It is kept in a pixel buffer, or in a texture where the driver has no pixel buffers.
TEST(ScreenProgram, SaveScreenWritesTheFrameLastPresented) {
  for (const auto& [scale, hidden] :
       {std::pair{"1", ""}, std::pair{"2", ""}, std::pair{"2", "GL_EXT_framebuffer_object"},
        std::pair{"1", "GL_ARB_pixel_buffer_object"}, std::pair{"2", "GL_ARB_multitexture"}}) {
    SCOPED_TRACE(std::string("QRV_SCALE=") + scale + " QRV_GL_HIDE=" + hidden);
    Shots shots;
    ProgramRun run(kProgram, {"save"},
                   {{"QRV_UNPACED", "1"},
                    {"QRV_FRAMES", "2"},
                    {"QRV_SCALE", scale},
                    {"QRV_GL_HIDE", hidden},
                    {"QRV_CAPTURE_FRAMES", "1"},
                    {"QRV_CAPTURE", shots.Folder()}});
    ASSERT_EQ(run.Wait(), 0);
    const RgbaImage saved = Load(run.Folder() + "/saved.png");
    const RgbaImage shown = shots.Frame(1);
    ASSERT_EQ(saved.width, 160);
    ASSERT_EQ(saved.height, 120);
    EXPECT_TRUE(saved.pixels == shown.pixels);
    EXPECT_EQ(ColourAt(saved, 25, 35), 0x00C0FFu);  // not the white drawn after it
    EXPECT_EQ(ColourAt(saved, 0, 0), 0x402000u);
  }
}

TEST(ScreenProgram, CrossFadeBlendsTheOldBackgroundIntoTheNew) {
  auto prepare = [](const std::string& folder) {
    for (const auto& [name, colour] : {std::pair{"a.png", 0}, std::pair{"b.png", 2}}) {
      RgbaImage image;
      image.Resize(160, 120);
      for (size_t i = 0; i < image.pixels.size(); i += 4) {
        image.pixels[i + size_t(colour)] = 255;
        image.pixels[i + 3] = 255;
      }
      SaveImageFile(folder + "/" + name, image);
    }
  };
  Shots shots;
  ProgramRun run(kProgram, {"fade"}, {{"QRV_FRAMES", "100"}, {"QRV_CAPTURE", shots.Folder()}},
                 prepare);
  ASSERT_EQ(run.Wait(), 0);
  EXPECT_EQ(ColourAt(shots.Frame(2), 80, 60), 0x0000FFu);
  EXPECT_EQ(ColourAt(shots.Frame(100), 80, 60), 0xFF0000u);
  // Between the two the old picture's weight falls from 0.9 with the share of the second
  // left, frame by frame; frames are paced at 16 ms, so the second spans at most 63 of them.
  std::vector<int> reds;
  for (int frame = 3; frame < 100; ++frame) {
    const uint32_t pixel = ColourAt(shots.Frame(frame), 80, 60);
    const int red = int(pixel & 0xFF), blue = int(pixel >> 16);
    if (red == 255 && blue == 0 && reds.empty()) continue;  // not started yet
    if (red == 0 && blue == 255) break;                      // over
    EXPECT_NEAR(red + blue, 255, 4) << "frame " << frame;
    reds.push_back(red);
  }
  ASSERT_GE(reds.size(), 10u);
  EXPECT_LE(reds.size(), 66u);
  EXPECT_NEAR(reds.front(), 230, 6);
  // The first weight is 0.9 whatever the time; from the second frame on it follows the time.
  for (size_t i = 2; i < reds.size(); ++i) EXPECT_LE(reds[i], reds[i - 1]) << "step " << i;
  // It ends once its second is up, however busy the machine (so no upper bound here).
  std::ifstream answers(run.Folder() + "/answers.txt");
  double milliseconds = 0;
  ASSERT_TRUE(answers >> milliseconds);
  EXPECT_GE(milliseconds, 1000);
}

// One key pressed and released, each held long enough for a frame to see it.
void Press(const std::string& key) {
  Shell("xdotool keydown " + key);
  std::this_thread::sleep_for(std::chrono::microseconds(90000));
  Shell("xdotool keyup " + key);
  std::this_thread::sleep_for(std::chrono::microseconds(90000));
}

TEST(ScreenProgram, ThePromptBuildsTheLineFromTypedKeys) {
  // Unpaced, every held key spans many frames however busy the machine is.
  ProgramRun run(kProgram, {"prompt"}, {{"QRV_UNPACED", "1"}});
  const std::string id =
      Shell("xdotool search --sync --onlyvisible --name '^screen probe' | head -1");
  ASSERT_FALSE(id.empty());
  Shell("xdotool windowfocus --sync " + id);
  std::this_thread::sleep_for(std::chrono::microseconds(200000));
  for (const char* key : {"c", "BackSpace", "BackSpace", "x", "y", "Return"}) Press(key);
  for (const char* key : {"1", "a", "2", "Return"}) Press(key);  // the letter is refused
  for (const char* key : {"minus", "3", "period", "5", "Return"}) Press(key);
  ASSERT_EQ(run.Wait(20), 0);
  std::ifstream in(run.Folder() + "/answers.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"axy", "12", "-3.5"}));
}

}  // namespace
}  // namespace qrv::test
