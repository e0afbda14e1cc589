// Sound with the command set: music repeating in the background and an effect on a key.
// Space plays the effect on the left, Return on the right; a bar shows which of the
// effect's four channels still play. Escape ends it.
//   example_sound_keys [EFFECT.wav [MUSIC]]   (without files both are made in memory)
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

void Main() {
  qrv::AutoPause(0);
  qrv::LoadSound(effectName, kEffect, 4);
  qrv::PlayMusic(musicName, true);
  bool spaceHeld = false, returnHeld = false;
  for (;;) {
    const bool space = qrv::KeyDown(57) != 0, enter = qrv::KeyDown(28) != 0;
    if (space && !spaceHeld) qrv::PlaySound(kEffect, -1, 1);
    if (enter && !returnHeld) qrv::PlaySound(kEffect, 1, 1);
    spaceHeld = space;
    returnHeld = enter;
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
