// Music through the mixer, heard on the disk driver: OGG, MP3, FLAC and a tracker module,
// from disk, from the music pack and from "mem://" blocks; the repeat at the deadline; and
// the volume that is sent only when it changes.
#include <cmath>
#include <cstring>
#include <memory>

#include "frame/runtime.h"
#include "platform/audio_host.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"
#include "sound_fixture.h"
#include "support/host.h"

namespace sound_test {
namespace {

std::string Be16(int v) {
  return {char(v >> 8), char(v)};
}

// A four-channel module: one looping square-wave sample struck on the first row, and a
// pattern break after eight rows of 120 ms, so the song lasts about a second.
std::string TrackerModule() {
  std::string mod(20, '\0');
  std::string sample(22, '\0');
  sample += Be16(16) + std::string("\0\x40", 2) + Be16(0) + Be16(16);  // 32 bytes, looped
  mod += sample;
  for (int i = 1; i < 31; ++i)
    mod += std::string(22, '\0') + Be16(0) + std::string(2, '\0') + Be16(0) + Be16(1);
  mod += std::string("\x01\x7F", 2) + std::string(128, '\0') + "M.K.";
  std::string pattern(64 * 4 * 4, '\0');
  pattern[0] = 0x01;  // sample 1 (high bits) with period 428 (0x1AC)
  pattern[1] = char(0xAC);
  pattern[2] = 0x10;
  pattern[7 * 16 + 2] = 0x0D;  // pattern break on row 7: the song ends there
  mod += pattern;
  for (int i = 0; i < 32; ++i) mod += char(i < 16 ? 100 : -100);
  return mod;
}

class MusicTest : public SoundTest {
 protected:
  // A piece of 0.3 s (or the length given) of tone then 0.2 s of silence, encoded by ffmpeg.
  std::string Piece(const std::string& name, const std::string& codec,
                    const std::string& toneSeconds = "0.3") {
    std::string path = PathOf(name);
    std::string command =
        "ffmpeg -loglevel error -f lavfi -i 'sine=frequency=441:duration=" + toneSeconds +
        "' -af "
        "'volume=4,apad=pad_dur=0.2' -ar 22050 -ac 2 -c:a " +
        codec + " '" + path + "' 2>/dev/null";
    EXPECT_EQ(test_host::RunShell(command).status, 0) << command;
    return path;
  }

  // How many times a tone starts after at least 50 ms of silence.
  static int Onsets(const std::vector<Frame>& frames) {
    int onsets = 0;
    long quiet = 1 << 20;
    for (const Frame& f : frames) {
      if (std::abs(f.left) > 200) {
        if (quiet > 1100) ++onsets;
        quiet = 0;
      } else {
        ++quiet;
      }
    }
    return onsets;
  }

  // Runs the frame's music step for a while, as present would.
  static void RunFrames(double seconds) {
    Within(seconds, [] {
      qrv::MusicLoopCheck();
      return false;
    });
  }
};

TEST_F(MusicTest, FormatsPlayFromDiskPackAndMemory) {
  std::vector<std::string> pieces = {Piece("piece.ogg", "libvorbis"),
                                     Piece("piece.mp3", "libmp3lame"), Piece("piece.flac", "flac")};
  std::ofstream(PathOf("song.mod"), std::ios::binary) << TrackerModule();
  pieces.push_back(PathOf("song.mod"));
  for (const std::string& path : pieces) {
    SCOPED_TRACE(path);
    std::filesystem::remove(PathOf("out.raw"));
    ASSERT_TRUE(OpenDevice());
    qrv::PlayMusic(path.c_str(), false);
    EXPECT_TRUE(qrv::MusicPlaying());
    EXPECT_TRUE(Within(5, [] { return !qrv::MusicPlaying(); }));
    EXPECT_EQ(Onsets(Capture()), 1);
  }

  // Through the music pack (the file is only in the pack) and through a live block.
  test_host::ChildOptions inFolder;
  inFolder.folder = folder_.string();
  ASSERT_EQ(test_host::RunProgram({test_host::Executable(QRV_BUILD_DIR "/tools/qrv"), "pack",
                                   "create", "music.pak", "piece.ogg"},
                                  inFolder),
            0);
  std::filesystem::remove(folder_ / "piece.ogg");
  std::string bytes = ReadBytes(PathOf("piece.flac"));
  auto copy = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  const qrv::RtString block =
      qrv::RegisterMemoryBlock(std::move(copy), static_cast<int32_t>(bytes.size()));
  std::filesystem::remove(PathOf("out.raw"));
  ASSERT_TRUE(OpenDevice());
  qrv::SetMediaPacks("", PathOf("music.pak").c_str());
  for (const qrv::RtString& name : {qrv::RtString("Media/Music/PIECE.OGG"), block}) {
    qrv::PlayMusic(name, false);
    EXPECT_TRUE(qrv::MusicPlaying()) << name.c_str();
    EXPECT_TRUE(Within(5, [] { return !qrv::MusicPlaying(); }));
  }
  qrv::ReleaseMemoryBlock(block);
  qrv::ReleaseMediaPacks();
  EXPECT_EQ(Onsets(Capture()), 2);
}

TEST_F(MusicTest, LoopingPieceRestartsWhenItsLengthHasPassed) {
  const std::string path = Piece("loop.ogg", "libvorbis");
  ASSERT_TRUE(OpenDevice());
  qrv::PlayMusic(path.c_str(), true);
  // 1.4 s of frames: the 0.5 s piece starts at 0, 0.5 and 1.0 s.
  RunFrames(1.4);
  EXPECT_TRUE(qrv::MusicPlaying());
  EXPECT_EQ(qrv::StopMusic(), 0);
  EXPECT_FALSE(qrv::MusicPlaying());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(Onsets(Capture()), 3);

  // Without loop it plays once however long the frames run.
  std::filesystem::remove(PathOf("out.raw"));
  ASSERT_TRUE(OpenDevice());
  qrv::PlayMusic(path.c_str(), false);
  RunFrames(1.2);
  EXPECT_FALSE(qrv::MusicPlaying());
  EXPECT_EQ(Onsets(Capture()), 1);
}

TEST_F(MusicTest, RestartPlaysThePieceAgainFromItsStart) {
  const std::string path = Piece("piece.flac", "flac", "1.5");
  ASSERT_TRUE(OpenDevice());
  qrv::PlayMusic(path.c_str(), false);
  // Once 0.3 s into the tone (as far as the device has written), once after the end.
  EXPECT_TRUE(Within(5, [&] {
    return std::filesystem::file_size(PathOf("out.raw")) >= 0.3 * 22050 * sizeof(Frame);
  }));
  qrv::RestartMusic();
  EXPECT_TRUE(qrv::MusicPlaying());
  EXPECT_TRUE(Within(10, [] { return !qrv::MusicPlaying(); }));
  qrv::RestartMusic();
  EXPECT_TRUE(qrv::MusicPlaying());
  EXPECT_TRUE(Within(10, [] { return !qrv::MusicPlaying(); }));
  const std::vector<Frame> heard = Capture();
  EXPECT_EQ(Onsets(heard), 2);
  // The tone ran for part of its first 0.3 s (the device's output also counts the silence
  // before the piece began), then its whole 1.5 s twice.
  long tone = 0;
  for (const Frame& f : heard) tone += std::abs(f.left) > 200 ? 1 : 0;
  EXPECT_GT(tone, 3.0 * 22050);
  EXPECT_LT(tone, 4.4 * 22050);
}

TEST_F(MusicTest, VolumeIsSentOnlyWhenItChanges) {
  const std::string path = Piece("piece.ogg", "libvorbis");
  ASSERT_TRUE(OpenDevice());
  qrv::platform::SetMusicLevel(300);
  qrv::PlayMusic(path.c_str(), true);
  EXPECT_EQ(qrv::platform::MusicLevel(), 1000);  // a new piece starts at the normal level
  qrv::SetMusicVolume(0.5);
  EXPECT_EQ(qrv::platform::MusicLevel(), 500);
  // Someone else changes the mixer's level: the same volume again sends nothing.
  qrv::platform::SetMusicLevel(125);
  qrv::SetMusicVolume(0.5);
  EXPECT_EQ(qrv::platform::MusicLevel(), 125);
  qrv::SetMusicVolume(0.25);
  EXPECT_EQ(qrv::platform::MusicLevel(), 250);
  // A new piece sends 1.0 itself, so 1.0 right after it sends nothing.
  qrv::StopMusic();
  qrv::PlayMusic(path.c_str(), false);
  qrv::platform::SetMusicLevel(125);
  qrv::SetMusicVolume(1.0);
  EXPECT_EQ(qrv::platform::MusicLevel(), 125);
  qrv::SetMusicVolume(0.25);
  EXPECT_EQ(qrv::platform::MusicLevel(), 250);
}

}  // namespace
}  // namespace sound_test
