// Sound with the command set: music repeating in the background and an effect on a key.
// Space plays the effect on the left, Return on the right; a bar shows which of the
// effect's four channels still play. Up and Down move the effect's level by a tenth of the
// amplitude, as a volume slider does (VolumeForLevel turns it into the decibel law's
// volume). Escape ends it.
//   example_sound_keys [EFFECT.wav [MUSIC]]   (without files both are made in memory)
#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstring>
#include <memory>
#include <string>

#include "quorvia/quorvia.h"

namespace {

constexpr int32_t kEffect = 0;
qrv::RtString effectName, musicName;

// A 16-bit mono WAV at 22050 Hz in a "mem://" block: `tone` Hz for `sound` seconds, then
// `rest` seconds of silence.
qrv::RtString MakeWav(double tone, double sound, double rest) {
  const uint32_t rate = 22050, frames = uint32_t(rate * (sound + rest)), bytes = frames * 2;
  const int32_t size = int32_t(44 + bytes);
  auto file = std::make_unique<uint8_t[]>(size_t(size));
  uint8_t* p = file.get();
  auto put = [&p](uint32_t value, int n) {
    for (int i = 0; i < n; ++i) *p++ = uint8_t(value >> (8 * i));
  };
  auto text = [&p](const char* id) {
    std::memcpy(p, id, 4);
    p += 4;
  };
  text("RIFF");
  put(36 + bytes, 4);
  text("WAVE");
  text("fmt ");
  put(16, 4);  // format: PCM, mono, the rate, 16-bit samples
  put(1, 2);
  put(1, 2);
  put(rate, 4);
  put(rate * 2, 4);
  put(2, 2);
  put(16, 2);
  text("data");
  put(bytes, 4);
  for (uint32_t i = 0; i < frames; ++i) {
    const double t = double(i) / rate;
    put(uint32_t(int16_t(t < sound ? 9000 * std::sin(2 * std::numbers::pi * tone * t) : 0)), 2);
  }
  return qrv::RegisterMemoryBlock(std::move(file), size);
}

// True in the frame a key goes down.
class KeyPress {
 public:
  explicit KeyPress(int32_t code) : code_(code) {}
  bool operator()() {
    const bool down = qrv::KeyDown(code_) != 0, pressed = down && !held_;
    held_ = down;
    return pressed;
  }

 private:
  int32_t code_;
  bool held_ = false;
};

void Main() {
  qrv::AutoPause(0);
  qrv::LoadSound(effectName, kEffect, 4);
  qrv::PlayMusic(musicName, true);
  KeyPress space(qrv::kKeySpace), enter(qrv::kKeyReturn), up(qrv::kKeyUp), down(qrv::kKeyDown);
  double level = 1;  // linear: 0.5 is half the amplitude
  for (;;) {
    if (up()) level = std::min(1.0, level + 0.1);
    if (down()) level = std::max(0.0, level - 0.1);
    if (space()) qrv::PlaySound(kEffect, -1, qrv::VolumeForLevel(level));
    if (enter()) qrv::PlaySound(kEffect, 1, qrv::VolumeForLevel(level));
    qrv::ClearScreen(0x202020);
    for (int32_t channel = 0; channel < 4; ++channel) {
      const bool plays = qrv::SoundPlaying(kEffect * 256 + channel) != 0;
      qrv::FillRect(40 + channel * 60, 200, 50, 50, plays ? 0x40FF40 : 0x404040);
    }
    qrv::FillRect(40, 300, qrv::MusicPlaying() ? 230 : 10, 10, 0xFF8040);
    qrv::Present();
  }
}

}  // namespace

int main(int argc, char** argv) {
  effectName = argc > 1 ? qrv::RtString(argv[1]) : MakeWav(880, 0.15, 0);
  musicName = argc > 2 ? qrv::RtString(argv[2]) : MakeWav(220, 0.3, 0.2);
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
