// Movies: the fitting rule, and a whole program under its own display playing a movie made
// by ffmpeg, scaled 320 x 240 -> 640 x 480 as the movie's own frame scaled, until a key.
#include <chrono>
#include <cstdlib>

#include "frame/process_runner.h"
#include "sound/movie_fit.h"
#include "sound_fixture.h"

namespace sound_test {
namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;

TEST(MovieFit, SmallerRatioWinsAndTheRectangleIsCentred) {
  const qrv::MovieRect same = qrv::FitMovie(640, 480, 320, 240);
  EXPECT_EQ(same.x, 0);
  EXPECT_EQ(same.y, 0);
  EXPECT_EQ(same.width, 640);
  EXPECT_EQ(same.height, 480);
  const qrv::MovieRect wide = qrv::FitMovie(800, 480, 320, 240);
  EXPECT_EQ(wide.x, 80);
  EXPECT_EQ(wide.width, 640);
  EXPECT_EQ(wide.height, 480);
  const qrv::MovieRect tall = qrv::FitMovie(640, 480, 100, 300);  // 1.6 x: 160 x 480
  EXPECT_EQ(tall.x, 240);
  EXPECT_EQ(tall.width, 160);
  const qrv::MovieRect odd = qrv::FitMovie(641, 480, 3, 7);  // truncated, never wider
  EXPECT_LE(odd.width, 641);
  EXPECT_EQ(qrv::FitMovie(640, 480, 0, 240).width, 0);
}

// Mean absolute difference of two raw RGB pictures of the same size; 255 when they differ
// in size.
double MeanDifference(const std::string& a, const std::string& b) {
  if (a.size() != b.size() || a.empty()) return 255;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(uint8_t(a[i]) - uint8_t(b[i]));
  return sum / static_cast<double>(a.size());
}

class MovieProgram : public SoundTest {
 protected:
  // A movie of still colour bars with a 441 Hz tone, made by ffmpeg.
  std::string MakeMovie(const std::string& name, int seconds) {
    const std::string movie = PathOf(name);
    const std::string command =
        "ffmpeg -loglevel error -f lavfi -i smptebars=s=320x240:r=10 -f lavfi -i "
        "sine=frequency=441 -t " +
        std::to_string(seconds) + " -c:v libx264 -pix_fmt yuv420p -c:a aac '" + movie + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return movie;
  }

  // The program's window on the display, once it is there.
  static std::string FindWindow(const frame_test::VirtualDisplay& display) {
    std::string window;
    Eventually([&] {
      window = display.Tool("xdotool search --name '^sound movie' | head -1");
      return !window.empty();
    });
    return window;
  }
};

TEST_F(MovieProgram, PlaysScaledToTheWindowWithItsSoundUntilAKey) {
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty());
  const std::string movie = MakeMovie("bars.mp4", 20);
  ASSERT_EQ(std::system(("ffmpeg -loglevel error -i '" + movie +
                         "' -frames:v 1 -vf scale=640:480 -f rawvideo -pix_fmt rgb24 '" +
                         PathOf("expected.rgb") + "'")
                            .c_str()),
            0);
  const std::string expected = ReadBytes(PathOf("expected.rgb"));
  ASSERT_EQ(expected.size(), 640u * 480 * 3);

  const auto started = std::chrono::steady_clock::now();
  ProgramRun run(frame_test::ProgramPath("sound_movie"), {movie},
                 {{"DISPLAY", display.Name()},
                  {"SDL_AUDIODRIVER", "disk"},
                  {"SDL_DISKAUDIOFILE", PathOf("out.raw")}});
  const std::string window = FindWindow(display);
  ASSERT_FALSE(window.empty());
  // The window shows the movie's frame at twice its size.
  const std::string shot = PathOf("shot.rgb");
  double difference = 255;
  Eventually([&] {
    display.Tool("import -window " + window + " -depth 8 rgb:'" + shot + "'");
    difference = MeanDifference(ReadBytes(shot), expected);
    return difference < 4;
  });
  EXPECT_LT(difference, 4);
  std::this_thread::sleep_for(std::chrono::seconds(1));

  // A real key ends it long before the movie's 20 seconds.
  // Held for a moment as a hand would: keys are read by their state, not by events.
  display.Tool("xdotool windowfocus --sync " + window + " keydown space sleep 0.2 keyup space");
  EXPECT_EQ(run.Wait(10), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
  EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n0\n");
  // Its sound track was heard while it played: the tone for a second at least.
  EXPECT_GT(SoundingFrames(FramesOf(ReadBytes(PathOf("out.raw")))), 22050);
}

TEST_F(MovieProgram, LoopingMovieEndsOnlyOnAButton) {
  frame_test::VirtualDisplay display;
  ASSERT_FALSE(display.Name().empty());
  const std::string movie = MakeMovie("short.mp4", 1);
  ProgramRun run(frame_test::ProgramPath("sound_movie"), {movie, "loop"},
                 {{"DISPLAY", display.Name()}, {"SDL_AUDIODRIVER", "dummy"}});
  const std::string window = FindWindow(display);
  ASSERT_FALSE(window.empty());
  // Three times its length later it still plays.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n");
  display.Tool("xdotool mousemove --window " + window + " 100 100 mousedown 1 sleep 0.2 mouseup 1");
  EXPECT_EQ(run.Wait(10), 0);
  EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n0\n");
}

TEST_F(MovieProgram, MissingOrUnreadableMovieGivesNoSuchFile) {
  std::ofstream(PathOf("not-a-movie.mp4")) << "plain text, no movie";
  for (const std::string& name : {PathOf("missing.mp4"), PathOf("not-a-movie.mp4")}) {
    ProgramRun run(frame_test::ProgramPath("sound_movie"), {name}, {{"SDL_AUDIODRIVER", "dummy"}});
    EXPECT_EQ(run.Wait(20), 0);
    EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n3\n") << name;
  }
}

}  // namespace
}  // namespace sound_test
