// Movies: the fitting rule, the sound track's level, and a whole program under its own
// display playing a movie made by ffmpeg, scaled 320 x 200 -> 640 x 400 and centred as
// ffmpeg scales and pads the movie's own frame, until a key.
#include <chrono>
#include <cstdlib>

#include "frame/process_runner.h"
#include "platform/movie_host.h"
#include "sound/movie_fit.h"
#include "sound_fixture.h"
#include "support/host.h"

namespace sound_test {
namespace {

using frame_test::Eventually;
using frame_test::ProgramRun;

TEST(MovieFit, SmallerRatioWinsAndTheRectangleIsCentred) {
  auto fit = [](int32_t cw, int32_t ch, int32_t sw, int32_t sh) {
    const qrv::MovieRect r = qrv::FitMovie(cw, ch, sw, sh);
    return std::vector<int32_t>{r.x, r.y, r.width, r.height};
  };
  using Rect = std::vector<int32_t>;
  EXPECT_EQ(fit(640, 480, 320, 240), (Rect{0, 0, 640, 480}));
  // Wider than the movie: bars left and right (800 - 640) / 2 = 80 wide.
  EXPECT_EQ(fit(800, 480, 320, 240), (Rect{80, 0, 640, 480}));
  // A tall movie, 1.6 x: 160 x 480, (640 - 160) / 2 = 240 from the left.
  EXPECT_EQ(fit(640, 480, 100, 300), (Rect{240, 0, 160, 480}));
  // A flat movie, 2 x: 640 x 200, (480 - 200) / 2 = 140 from the top.
  EXPECT_EQ(fit(640, 480, 320, 100), (Rect{0, 140, 640, 200}));
  // A tall area: 300 x 225 in 300 x 900, (900 - 225) / 2 = 337 (halves dropped).
  EXPECT_EQ(fit(300, 900, 320, 240), (Rect{0, 337, 300, 225}));
  // 480 / 7 wins over 641 / 3: 3 x 68.57 = 205.7, truncated to 205; (641 - 205) / 2 = 218.
  EXPECT_EQ(fit(641, 480, 3, 7), (Rect{218, 0, 205, 480}));
  EXPECT_EQ(fit(640, 480, 0, 240), (Rect{0, 0, 0, 0}));
  EXPECT_EQ(fit(0, 480, 320, 240), (Rect{0, 0, 0, 0}));
}

// A mono sound track goes to both sides at its own level, sample for sample as ffmpeg
// decodes it.
TEST(MovieSound, MonoTrackPlaysAtFullLevelOnBothSides) {
  test_host::ScratchFolder scratch("qrv-movie-mono");
  const std::string& folder = scratch.Path();
  const std::string movie = folder + "/mono.mkv", track = folder + "/track.raw";
  ASSERT_EQ(test_host::RunShell("ffmpeg -loglevel error -y -f lavfi -i color=c=red:s=64x48:r=10 -f lavfi "
                         "-i sine=frequency=441:sample_rate=22050 -t 1 -c:v libx264 -c:a "
                         "pcm_s16le -ac 1 '" +
                         movie + "' && ffmpeg -loglevel error -y -i '" + movie +
                         "' -f s16le -ac 1 -ar 22050 '" + track + "'").status,
            0);
  const std::string bytes = ReadBytes(movie), expected = ReadBytes(track);
  qrv::platform::MovieSource* source =
      qrv::platform::OpenMovie(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_NE(source, nullptr);
  const std::vector<uint8_t>& sound = qrv::platform::MovieSound(source);
  ASSERT_EQ(sound.size(), expected.size() * 2);
  std::vector<int16_t> mono(expected.size() / 2);
  std::memcpy(mono.data(), expected.data(), expected.size());
  const std::vector<Frame> heard =
      FramesOf(std::string(reinterpret_cast<const char*>(sound.data()), sound.size()));
  int peak = 0;
  for (size_t i = 0; i < mono.size(); ++i) {
    ASSERT_EQ(heard[i].left, mono[i]) << "frame " << i;
    ASSERT_EQ(heard[i].right, mono[i]) << "frame " << i;
    peak = std::max(peak, std::abs(int(mono[i])));
  }
  EXPECT_GT(peak, 4000);  // the lavfi sine is at 1/8 of full scale
  qrv::platform::CloseMovie(source);
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
  // A movie of still colour bars (320 x 200) with a 441 Hz tone, made by ffmpeg.
  std::string MakeMovie(const std::string& name, int seconds) {
    const std::string movie = PathOf(name);
    const std::string command =
        "ffmpeg -loglevel error -f lavfi -i smptebars=s=320x200:r=10 -f lavfi -i "
        "sine=frequency=441 -t " +
        std::to_string(seconds) + " -c:v libx264 -pix_fmt yuv420p -c:a aac '" + movie + "'";
    EXPECT_EQ(test_host::RunShell(command).status, 0) << command;
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
  ASSERT_EQ(test_host::RunShell("ffmpeg -loglevel error -i '" + movie +
                         "' -frames:v 1 -vf scale=640:400,pad=640:480:0:40 -f rawvideo "
                         "-pix_fmt rgb24 '" +
                         PathOf("expected.rgb") + "'").status,
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
  // The window shows the movie's frame at twice its size, 40 pixels from the top.
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
  EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n0 0\n");
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
  EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n0 0\n");
}

// The result and the error are 3, and the verbose line says why.
TEST_F(MovieProgram, MissingOrUnreadableMovieGivesNoSuchFile) {
  std::ofstream(PathOf("not-a-movie.mp4")) << "plain text, no movie";
  const std::pair<std::string, std::string> cases[] = {
      {PathOf("missing.mp4"), "no such file, or empty or larger than 1 GiB"},
      {PathOf("not-a-movie.mp4"), "no video that can be decoded"}};
  for (const auto& [name, reason] : cases) {
    ProgramRun run(frame_test::ProgramPath("sound_movie"), {name},
                   {{"SDL_AUDIODRIVER", "dummy"}, {"QRV_VERBOSE", "1"}});
    EXPECT_EQ(run.Wait(20), 0);
    EXPECT_EQ(ReadBytes(run.Folder() + "/movie.txt"), "playing\n3 3\n") << name;
    EXPECT_NE(test_host::ConsoleText(ReadBytes(run.Folder() + "/stderr.txt"))
                  .find("PlayMovie: " + name + ": " + reason + "\n"),
              std::string::npos)
        << ReadBytes(run.Folder() + "/stderr.txt");
  }
}

}  // namespace
}  // namespace sound_test
