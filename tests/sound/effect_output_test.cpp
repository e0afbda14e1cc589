// Sound effects heard through SDL's disk driver: the mixed output read back sample by
// sample for the levels, the pan, the channels of a slot and the WAV shapes real tools write;
// the reasons failed loads give, and the memory a load takes.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/runtime.h"
#include "platform/audio_host.h"
#include "sound_fixture.h"
#include "support/host.h"

namespace sound_test {
namespace {

using qrv::LoadSound;
using qrv::PlaySound;
using qrv::SoundPlaying;

class EffectOutput : public SoundTest {
 protected:
  // A near-constant level (about a quarter of full scale) in the device's own rate.
  std::string Level(const std::string& name, double seconds) {
    return Sox(name, "-r 22050 -c 1 -b 16",
               "synth " + std::to_string(seconds) + " sine 0 dcshift 0.25");
  }

  // One play on a fresh device; the whole output. The id must have started.
  std::vector<Frame> PlayAlone(const std::string& path, double pan, double volume) {
    std::filesystem::remove(PathOf("out.raw"));
    EXPECT_TRUE(OpenDevice());
    LoadSound(path.c_str(), 3, 1);
    int32_t id = PlaySound(3, pan, volume);
    EXPECT_EQ(id, 3 * 256);
    EXPECT_EQ(SoundPlaying(id), 1);
    WaitForEnd(id);
    return Capture();
  }
};

// The captured sound from its first sample against the expected frames scaled per side.
void ExpectScaled(const std::vector<Frame>& heard, const std::vector<Frame>& expected,
                  double leftGain, double rightGain) {
  long start = FirstSound(heard);
  ASSERT_GE(start, 0);
  ASSERT_GE(heard.size() - start, expected.size());
  double sumHeardL = 0, sumHeardR = 0, sumExpected = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    const Frame& h = heard[start + i];
    // Each sample within 1% (and one step of rounding) of the law's level.
    const double wantL = expected[i].left * leftGain, wantR = expected[i].right * rightGain;
    ASSERT_NEAR(h.left, wantL, 1.0 + std::abs(wantL) * 0.01) << "frame " << i;
    ASSERT_NEAR(h.right, wantR, 1.0 + std::abs(wantR) * 0.01) << "frame " << i;
    sumHeardL += std::abs(h.left);
    sumHeardR += std::abs(h.right);
    sumExpected += std::abs(expected[i].left);
  }
  // Nothing after the sound's end.
  for (size_t i = start + expected.size(); i < heard.size(); ++i) {
    ASSERT_EQ(heard[i].left, 0);
    ASSERT_EQ(heard[i].right, 0);
  }
  EXPECT_NEAR(sumHeardL / sumExpected, leftGain, leftGain * 0.01);
  EXPECT_NEAR(sumHeardR / sumExpected, rightGain, rightGain * 0.01);
}

TEST_F(EffectOutput, LevelsAndPanFollowTheDecibelLaw) {
  const std::string path = Level("level.wav", 0.15);
  const std::vector<Frame> file = DeviceFramesBySox(path);
  ASSERT_EQ(file.size(), 3307u);

  // Volume 1 and centre: the file's own samples on both sides.
  ExpectScaled(PlayAlone(path, 0, 1), file, 1, 1);
  // Volume 0.94 is -600 hundredths of a dB: half the amplitude.
  ExpectScaled(PlayAlone(path, 0, 0.94), file, 0.5, 0.5);
  // A pan of 1 (and beyond) attenuates the left side by 100 dB: silent there.
  ExpectScaled(PlayAlone(path, 5, 2), file, 0, 1);
  ExpectScaled(PlayAlone(path, -1, 1), file, 1, 0);
  // A pan of 0.3 takes 30 dB off the left only.
  ExpectScaled(PlayAlone(path, 0.3, 1), file, std::pow(10.0, -1.5), 1);
  // Volume 0.005 is step 0: -10000, silence, though the channel plays.
  std::vector<Frame> silent = PlayAlone(path, 0, 0.005);
  EXPECT_EQ(FirstSound(silent), -1);
  EXPECT_GT(silent.size(), file.size());
}

// Energy of each side over the whole capture (silence adds nothing).
std::pair<double, double> Energy(const std::vector<Frame>& frames) {
  double left = 0, right = 0;
  for (const Frame& f : frames) {
    left += double(f.left) * f.left;
    right += double(f.right) * f.right;
  }
  return {left, right};
}

// How far the heard level lies from the decibel figure given, in dB, on each side.
std::pair<double, double> DecibelsOff(const std::vector<Frame>& heard,
                                      const std::vector<Frame>& full, double decibels) {
  const double gain = std::pow(10.0, decibels / 20.0);  // amplitude = 10^(dB / 20)
  const auto [heardL, heardR] = Energy(heard);
  const auto [fullL, fullR] = Energy(full);
  return {20 * std::log10(std::sqrt(heardL / fullL) / gain),
          20 * std::log10(std::sqrt(heardR / fullR) / gain)};
}

TEST_F(EffectOutput, QuietLevelsKeepTheLawDownToSeventyDecibels) {
  // A loud tone, so that even -70 dB (an amplitude of about 9) is measured well.
  const std::string path = Sox("loud.wav", "-r 22050 -c 1 -b 16", "synth 0.3 sine 441 vol 0.9");
  const std::vector<Frame> full = PlayAlone(path, 0, 1);
  ASSERT_GT(Energy(full).first, 0);
  // Volume v is step trunc(v * 100), step * 100 - 10000 hundredths of a dB. 0.899 lies a
  // step (one dB) below 0.9 and 0.5099 is still step 50: the step is truncated, not rounded.
  const struct {
    double volume, decibels;
  } levels[] = {{0.9, -10}, {0.7, -30}, {0.5, -50}, {0.3, -70}, {0.899, -11}, {0.5099, -50}};
  for (const auto& level : levels) {
    SCOPED_TRACE(level.volume);
    const auto [left, right] = DecibelsOff(PlayAlone(path, 0, level.volume), full, level.decibels);
    EXPECT_NEAR(left, 0, 0.5);
    EXPECT_NEAR(right, 0, 0.5);
  }
  // The pan takes its hundredths off the far side only: 0.55 leaves the left at -55 dB.
  const auto [left, right] = DecibelsOff(PlayAlone(path, 0.55, 1), full, -55);
  EXPECT_NEAR(left, 0, 0.5);
  EXPECT_NEAR(right, 55, 0.5);
}

TEST_F(EffectOutput, TwoChannelSlotCutsOffItsOldestPlay) {
  const std::string path = Level("long.wav", 1.0);
  ASSERT_TRUE(OpenDevice());
  LoadSound(path.c_str(), 7, 2);
  const int32_t first = PlaySound(7, 0, 1);
  const int32_t second = PlaySound(7, 0, 1);
  const int32_t third = PlaySound(7, 0, 1);
  EXPECT_EQ(first, 7 * 256 + 0);
  EXPECT_EQ(second, 7 * 256 + 1);
  EXPECT_EQ(third, 7 * 256 + 0);
  EXPECT_EQ(SoundPlaying(second), 1);
  EXPECT_EQ(SoundPlaying(third), 1);
  WaitForEnd(second);
  WaitForEnd(third);
  std::vector<Frame> heard = Capture();
  // Two copies at most at any moment: the level of one near 8192, never three of them.
  int peak = 0;
  for (const Frame& frame : heard) peak = std::max(peak, std::abs(static_cast<int>(frame.left)));
  EXPECT_GT(peak, 2 * 8192 * 0.95);
  EXPECT_LT(peak, 2 * 8192 * 1.10);
}

TEST_F(EffectOutput, ChannelCountsStopsAndFreeSlots) {
  const std::string path = Level("long.wav", 2.0);
  ASSERT_TRUE(OpenDevice());
  // 0 and -3 channels give one: a second play while the first sounds fails.
  LoadSound(path.c_str(), 0, 0);
  LoadSound(path.c_str(), 1, -3);
  EXPECT_EQ(qrv::FreeSoundSlot(), 2);
  const int32_t only = PlaySound(0, 0, 1);
  EXPECT_EQ(only, 0);
  EXPECT_EQ(PlaySound(0, 0, 1), -1);
  EXPECT_EQ(SoundPlaying(only), 1);
  // 9 channels give four; the fifth play cuts off channel 0 again.
  LoadSound(path.c_str(), 99999, 9);  // above the table: the last slot
  std::vector<int32_t> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(PlaySound(5000, 0, 1));
  EXPECT_EQ(ids, (std::vector<int32_t>{4095 * 256, 4095 * 256 + 1, 4095 * 256 + 2, 4095 * 256 + 3,
                                       4095 * 256}));
  // A channel number outside the slot's stops all of them; stop and status skip bad ids.
  qrv::StopSound(4095 * 256 + 200);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(SoundPlaying(4095 * 256 + c), 0) << c;
  qrv::StopSound(-1);
  EXPECT_EQ(SoundPlaying(-5), 0);
  EXPECT_EQ(SoundPlaying(only), 1);
  qrv::StopAllSounds();
  EXPECT_EQ(SoundPlaying(only), 0);
  // Negative slots are refused; a failed load empties the slot it was given.
  LoadSound(path.c_str(), -1, 1);
  EXPECT_EQ(PlaySound(-1, 0, 1), -1);
  LoadSound(PathOf("missing.wav").c_str(), 1, 1);
  EXPECT_EQ(PlaySound(1, 0, 1), -1);
  EXPECT_EQ(qrv::FreeSoundSlot(), 1);
}

// Real files in the shapes the tools write: the sound lasts as long as the file says
// (resampled to the device rate) and the left channel stays left. A second (441 whole
// waves, no click at the end) spans several of the pieces a load converts at a time.
TEST_F(EffectOutput, WavShapesOfRealToolsPlay) {
  struct Shape {
    const char* name;
    std::string command;  // writes %s
  };
  const std::string left = "synth 1 sine 441 remix 1v0.5 1v0.125";
  const Shape shapes[] = {
      {"u8-mono-11025.wav", "sox -D -n -r 11025 -c 1 -b 8 %s synth 1 sine 441 vol 0.5"},
      {"s16-stereo-44100.wav", "sox -D -n -r 44100 -c 2 -b 16 %s " + left},
      {"s24-stereo-48000-extensible.wav", "sox -D -n -r 48000 -c 2 -b 24 %s " + left},
      {"f32-stereo-22050-fmt18.wav", "sox -D -n -r 22050 -c 2 -e float -b 32 %s " + left},
      // The lavfi sine is at 1/8 of full scale.
      {"s16-stereo-48000-list.wav",
       "ffmpeg -loglevel error -f lavfi -i 'sine=frequency=441:duration=1' -ar 48000 "
       "-af 'pan=stereo|c0=4*c0|c1=c0' %s"},
      {"s16-mono-22050.wav", "sox -D -n -r 22050 -c 1 -b 16 %s synth 1 sine 441 vol 0.5"},
      // Six channels (front left louder than front right) mixed down to two.
      {"s16-six-22050.wav", "sox -D -n -r 22050 -c 6 -b 16 %s " + left + " 0 0 0 0"},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    std::string command = shape.command;
    command.replace(command.find("%s"), 2, "'" + PathOf(shape.name) + "'");
    ASSERT_EQ(test_host::RunShell(command + " 2>/dev/null").status, 0) << command;
    std::vector<Frame> heard = PlayAlone(PathOf(shape.name), 0, 1);
    EXPECT_NEAR(SoundingFrames(heard), 22050, 22050 * 0.03);
    int peakLeft = 0, peakRight = 0;
    for (const Frame& f : heard) {
      peakLeft = std::max(peakLeft, std::abs(static_cast<int>(f.left)));
      peakRight = std::max(peakRight, std::abs(static_cast<int>(f.right)));
    }
    if (std::string(shape.name).find("six") != std::string::npos) {
      EXPECT_GT(peakLeft, 2000);
      EXPECT_NEAR(peakRight * 4.0, peakLeft, peakLeft * 0.12);
      continue;
    }
    EXPECT_NEAR(peakLeft, 16384, 16384 * 0.12);
    if (std::string(shape.name).find("stereo") != std::string::npos) {
      EXPECT_NEAR(peakRight, 4096, 4096 * 0.12);
    }
  }
}

// The chunk order of a real file turned round: its LIST chunk first, a fact chunk before the
// data; and the data truncated, which must fail the load rather than read past the file.
TEST_F(EffectOutput, ChunkOrderAndTruncation) {
  std::string path = PathOf("tool.wav");
  ASSERT_EQ(test_host::RunShell("ffmpeg -loglevel error -f lavfi -i 'sine=frequency=441:duration=0.2' "
                         "-ar 22050 '" +
                         path + "' 2>/dev/null").status,
            0);
  std::string bytes = ReadBytes(path);
  const size_t list = bytes.find("LIST"), data = bytes.find("data");
  ASSERT_NE(list, std::string::npos);
  ASSERT_LT(list, data);
  std::string fmt = bytes.substr(12, list - 12), listChunk = bytes.substr(list, data - list);
  std::string fact("fact\x04\0\0\0\x01\x02\x03\x04", 12);
  std::string turned = bytes.substr(0, 12) + listChunk + fmt + fact + bytes.substr(data);
  std::ofstream(PathOf("turned.wav"), std::ios::binary) << turned;
  std::ofstream(PathOf("cut.wav"), std::ios::binary) << bytes.substr(0, bytes.size() - 100);

  ASSERT_TRUE(OpenDevice());
  LoadSound(PathOf("turned.wav").c_str(), 0, 1);
  LoadSound(PathOf("cut.wav").c_str(), 1, 1);
  EXPECT_EQ(qrv::FreeSoundSlot(), 1);
  const int32_t id = PlaySound(0, 0, 1);
  EXPECT_EQ(id, 0);
  WaitForEnd(id);
  EXPECT_NEAR(SoundingFrames(Capture()), 0.2 * 22050, 0.2 * 22050 * 0.02);
}

// A driver that cannot open: every command still answers, with the answers of no sound;
// the loads fail with error 3.
TEST_F(EffectOutput, NoDeviceAnswersQuietly) {
  const std::string path = Level("level.wav", 0.1);
  EXPECT_FALSE(OpenDevice("no-such-driver"));
  LoadSound(path.c_str(), 0, 2);
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_EQ(PlaySound(0, 0, 1), -1);
  EXPECT_EQ(SoundPlaying(0), 0);
  qrv::StopSound(0);
  qrv::StopAllSounds();
  EXPECT_EQ(qrv::FreeSoundSlot(), 0);
  qrv::PlayMusic(path.c_str(), true);
  EXPECT_EQ(qrv::LastError(), 3);
  EXPECT_FALSE(qrv::MusicPlaying());
  qrv::SetMusicVolume(0.5);
  qrv::MusicLoopCheck();
  qrv::RestartMusic();
  EXPECT_FALSE(qrv::MusicPlaying());
  EXPECT_EQ(qrv::platform::MusicLevel(), 0);
  EXPECT_EQ(qrv::StopMusic(), 0);
}

// Every failed load sets error 3 (a good one sets 0) and says why on the verbose line.
TEST_F(EffectOutput, FailedLoadsSayWhy) {
  const std::string good = Level("good.wav", 0.1);
  ASSERT_EQ(test_host::RunShell("convert -size 4x4 xc:red '" + PathOf("picture.bmp") + "'").status, 0);
  std::ofstream(PathOf("empty.wav")).close();
  ASSERT_TRUE(OpenDevice());
  qrv::TheRuntime().settings.debugFlag = 1;  // the verbose line, as QRV_VERBOSE=1 gives it
  struct Case {
    std::string name, reason;
  };
  const Case cases[] = {
      {PathOf("missing.wav"), "no such file, or empty or larger than 1 GiB"},
      {PathOf("no/such/folder/x.wav"), "no such file, or empty or larger than 1 GiB"},
      {PathOf(""), "no such file, or empty or larger than 1 GiB"},  // the folder itself
      {PathOf("empty.wav"), "no such file, or empty or larger than 1 GiB"},
      {PathOf("picture.bmp"), "not a WAV file"},
  };
  for (const Case& c : cases) {
    LoadSound(good.c_str(), 2, 1);
    ASSERT_EQ(qrv::LastError(), 0);
    testing::internal::CaptureStderr();
    LoadSound(c.name.c_str(), 2, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "LoadSound: " + c.name + ": " + c.reason + "\n");
    EXPECT_EQ(qrv::LastError(), 3) << c.name;
    EXPECT_EQ(PlaySound(2, 0, 1), -1) << c.name;
  }
  testing::internal::CaptureStderr();
  LoadSound(good.c_str(), -4, 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "LoadSound: " + good + ": no such sound slot\n");
  // Music: a missing file, and a file the mixer cannot play; a good piece clears the error.
  std::ofstream(PathOf("words.ogg")) << "not music at all";
  for (const Case& c : {Case{PathOf("missing.ogg"), "no such file, or empty or larger than 1 GiB"},
                        Case{PathOf("words.ogg"), "not music the mixer can play"}}) {
    testing::internal::CaptureStderr();
    qrv::PlayMusic(c.name.c_str(), false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "PlayMusic: " + c.name + ": " + c.reason + "\n");
    EXPECT_EQ(qrv::LastError(), 3);
    EXPECT_FALSE(qrv::MusicPlaying());
  }
  qrv::PlayMusic(good.c_str(), false);
  EXPECT_EQ(qrv::LastError(), 0);
  EXPECT_TRUE(qrv::MusicPlaying());
  qrv::TheRuntime().settings.debugFlag = 0;
}

// Handing the window over leaves what plays alone; releasing the slots stops and empties
// them all, and the device takes new loads afterwards.
TEST_F(EffectOutput, SoundWindowAndReleasedSlots) {
  const std::string path = Level("long.wav", 2.0);
  ASSERT_TRUE(OpenDevice());
  LoadSound(path.c_str(), 0, 2);
  LoadSound(path.c_str(), 4095, 1);
  const int32_t first = PlaySound(0, 0, 1), last = PlaySound(4095, 0, 1);
  qrv::SetSoundWindow();
  EXPECT_EQ(SoundPlaying(first), 1);
  EXPECT_EQ(SoundPlaying(last), 1);
  EXPECT_EQ(PlaySound(0, 0, 1), 1);
  qrv::ReleaseSoundSlots();
  EXPECT_EQ(SoundPlaying(first), 0);
  EXPECT_EQ(SoundPlaying(last), 0);
  EXPECT_EQ(SoundPlaying(1), 0);
  EXPECT_EQ(PlaySound(0, 0, 1), -1);
  EXPECT_EQ(PlaySound(4095, 0, 1), -1);
  EXPECT_EQ(qrv::FreeSoundSlot(), 0);
  LoadSound(path.c_str(), 0, 1);
  EXPECT_EQ(PlaySound(0, 0, 1), 0);
  // What played before the release stopped then: more than one play at a time (a level
  // above one play's 8192) only for the moment before it, never for the new play's 2 s.
  WaitForEnd(0);
  const std::vector<Frame> heard = Capture();
  const long together = std::count_if(heard.begin(), heard.end(),
                                      [](const Frame& f) { return std::abs(f.left) > 12000; });
  EXPECT_LT(together, 22050 / 4);
  EXPECT_NEAR(SoundingFrames(heard), 2 * 22050, 22050 / 4);
}

// Loading converts piece by piece: the most memory a load takes is the file's bytes and
// the converted sound, whether the sound shrinks (16-bit stereo at 44100 Hz) or grows
// (8-bit mono at 11025 Hz) on the way to the device's 16-bit stereo at 22050 Hz.
TEST_F(EffectOutput, LoadNeedsTheFileAndTheConvertedSoundOnly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's allocator keeps freed memory, so peaks are its own";
#endif
  for (const std::string format : {"-r 44100 -c 2 -b 16", "-r 11025 -c 1 -b 8"}) {
    const std::string path = Sox("big.wav", format, "synth 180 sine 441 vol 0.5");
    const double fileBytes = double(std::filesystem::file_size(path)), converted = 180 * 22050 * 4;
    // In a child of its own, so the high-water mark of its memory is the load's. It writes
    // the growth in bytes and the lowest free slot afterwards.
    const std::string measured = PathOf("measured.txt");
    auto load = [&] {
      long long grown = -1, slot = -1;
      if (OpenDevice()) {
        const int64_t before = test_host::PeakMemoryBytes();
        LoadSound(path.c_str(), 0, 1);
        grown = test_host::PeakMemoryBytes() - before;
        slot = qrv::FreeSoundSlot();
      }
      std::ofstream(measured) << grown << ' ' << slot;
      std::exit(0);
    };
    EXPECT_EXIT(load(), testing::ExitedWithCode(0), "");
    long long grown[2] = {-1, -1};
    std::ifstream(measured) >> grown[0] >> grown[1];
    ASSERT_EQ(grown[1], 1) << "the sound did not load";
    std::printf("[ measured ] %s: peak %.1f MB for a file of %.1f MB, %.1f MB converted\n",
                format.c_str(), grown[0] / 1048576.0, fileBytes / 1048576.0, converted / 1048576.0);
    EXPECT_LT(double(grown[0]), fileBytes + converted + 6.0 * (1 << 20));
  }
}

}  // namespace
}  // namespace sound_test
