// The sound example as a whole program on the disk driver, keys from a replay script: its
// music repeats from present, and the keys put the effect on the left and on the right.
#include "frame/process_runner.h"
#include "sound_fixture.h"

namespace sound_test {
namespace {

class SoundExample : public SoundTest {};

// Tone starts on one side after at least 50 ms of quiet.
int Onsets(const std::vector<Frame>& frames, int16_t Frame::*side) {
  int onsets = 0;
  long quiet = 1 << 20;
  for (const Frame& f : frames) {
    if (std::abs(f.*side) > 200) {
      onsets += quiet > 1100;
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  return onsets;
}

TEST_F(SoundExample, MusicRepeatsFromPresentAndKeysPlayTheEffect) {
  std::ofstream(PathOf("keys.txt")) << "0\n60 57\n66\n100 28\n106\n";
  frame_test::ProgramRun run(frame_test::ExamplePath("sound_keys"), {},
                             {{"SDL_AUDIODRIVER", "disk"},
                              {"SDL_DISKAUDIOFILE", PathOf("out.raw")},
                              {"QRV_REPLAY", PathOf("keys.txt")},
                              {"QRV_FRAMES", "150"}});
  ASSERT_EQ(run.Wait(30), 0);
  const std::vector<Frame> heard = FramesOf(ReadBytes(PathOf("out.raw")));
  ASSERT_GT(heard.size(), 22050u * 2);
  // The 0.5 s piece starts again and again over the 2.5 s of frames.
  EXPECT_GE(Onsets(heard, &Frame::right), 4);
  // Only the effects make the sides differ: nothing before the first key, then Space's
  // effect adding to the left, and later Return's adding to the right.
  std::vector<long> differing;
  for (size_t i = 0; i < heard.size(); ++i) {
    if (std::abs(heard[i].left - heard[i].right) > 100) differing.push_back(static_cast<long>(i));
  }
  ASSERT_FALSE(differing.empty());
  EXPECT_GT(differing.front(), FirstSound(heard) + 22050 / 2);
  const long split = differing.front() + 22050 / 3;  // the keys are 40 frames apart
  double left[2] = {0, 0}, right[2] = {0, 0};
  for (long i : differing) {
    const int effect = i < split ? 0 : 1;
    left[effect] += double(heard[i].left) * heard[i].left;
    right[effect] += double(heard[i].right) * heard[i].right;
  }
  EXPECT_GT(left[0], right[0] * 1.5);
  EXPECT_GT(right[1], left[1] * 1.5);
}

// Without a device the program runs on silently and ends as usual.
TEST_F(SoundExample, RunsWithoutAnAudioDevice) {
  frame_test::ProgramRun run(frame_test::ExamplePath("sound_keys"), {},
                             {{"SDL_AUDIODRIVER", "no-such-driver"}, {"QRV_FRAMES", "30"}});
  ASSERT_EQ(run.Wait(30), 0);
  const std::vector<std::string> log = run.LogLines();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "qrv is shut down");
}

}  // namespace
}  // namespace sound_test
