// A private folder per test with WAV and music files made by sox and ffmpeg, and the sound
// device opened on SDL's disk driver, so the mixed output can be read back sample by sample.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "quorvia/sound.h"
#include "support/host.h"

namespace sound_test {

namespace fs = std::filesystem;

// One output frame of the device: 16-bit left and right.
struct Frame {
  int16_t left, right;
};

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<Frame> FramesOf(const std::string& bytes) {
  std::vector<Frame> frames(bytes.size() / sizeof(Frame));
  if (!frames.empty()) std::memcpy(frames.data(), bytes.data(), frames.size() * sizeof(Frame));
  return frames;
}

// The index of the first frame with any sound in it; -1 for a silent capture.
inline long FirstSound(const std::vector<Frame>& frames) {
  for (size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].left != 0 || frames[i].right != 0) return static_cast<long>(i);
  }
  return -1;
}

// Frames from the first to the last with sound on either side.
inline long SoundingFrames(const std::vector<Frame>& frames) {
  long first = FirstSound(frames), last = first;
  for (long i = first; first >= 0 && i < static_cast<long>(frames.size()); ++i) {
    if (frames[i].left != 0 || frames[i].right != 0) last = i;
  }
  return first < 0 ? 0 : last - first + 1;
}

template <class Condition>
bool Within(double seconds, Condition condition) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return condition();
}

class SoundTest : public testing::Test {
 protected:
  void SetUp() override {
    // A death test's child works in its parent's folder.
    folder_ = test_host::SharedWithDeathTests(kFolderVariable, [this] {
      scratch_ = std::make_unique<test_host::ScratchFolder>("qrv-sound");
      return scratch_->Path();
    });
  }
  void TearDown() override {
    qrv::ShutdownSound();
    test_host::UnsetVariable(kFolderVariable);
    scratch_.reset();
  }
  static constexpr const char* kFolderVariable = "QRV_TEST_SOUND_FOLDER";

  std::string PathOf(const std::string& name) const { return (folder_ / name).generic_string(); }

  // Makes a file with sox from nothing: `format` before the name, `effects` after it.
  std::string Sox(const std::string& name, const std::string& format,
                  const std::string& effects) const {
    std::string path = PathOf(name);
    std::string command = "sox -D -n " + format + " '" + path + "' " + effects + " 2>/dev/null";
    EXPECT_EQ(test_host::RunShell(command).status, 0) << command;
    return path;
  }

  // The file as the device's format would hold it (16-bit stereo at 22050 Hz), by sox.
  std::vector<Frame> DeviceFramesBySox(const std::string& path) const {
    std::string raw = path + ".raw";
    std::string command =
        "sox -D '" + path + "' -t raw -e signed -b 16 -c 2 -r 22050 '" + raw + "' 2>/dev/null";
    EXPECT_EQ(test_host::RunShell(command).status, 0) << command;
    return FramesOf(ReadBytes(raw));
  }

  // Opens the device on the disk driver (or on the driver named) writing to out.raw.
  bool OpenDevice(const char* driver = "disk") {
    test_host::SetVariable("SDL_AUDIODRIVER", driver);
    test_host::SetVariable("SDL_DISKAUDIOFILE", PathOf("out.raw"));
    qrv::CreateSoundDevice();
    return qrv::InitSound();
  }

  // Waits for the channel to finish, plus a few mixer blocks so its end is written out.
  void WaitForEnd(int32_t id) {
    EXPECT_TRUE(Within(10, [&] { return qrv::SoundPlaying(id) == 0; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }

  // Closes the device and reads back everything it played.
  std::vector<Frame> Capture() {
    qrv::ShutdownSound();
    return FramesOf(ReadBytes(PathOf("out.raw")));
  }

  std::unique_ptr<test_host::ScratchFolder> scratch_;
  fs::path folder_;
};

}  // namespace sound_test
