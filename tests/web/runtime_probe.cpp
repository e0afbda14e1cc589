// A program for the browser tests of how the runtime behaves in a page, steered by QRV_PROBE.
// It prints what it sees, one "probe: ..." line each, which the page's console shows and the
// harness collects (stdout.txt) and acts on (cues).
//   sound  plays /probe/tone.wav at once, before the player has pressed anything, prints
//          "probe: playing", then "probe: key M" when Space comes and "probe: ended N" when
//          the sound has finished (M and N: milliseconds since it was played), and ends;
//          "probe: still playing" when that takes over 20 seconds, "probe: cannot play: ..."
//          with the reason when the sound does not start.
//   pause  prints "probe: running" after its first frame and presents frames until Escape.
#include <cstdio>

#include "quorvia/quorvia.h"

namespace {

void Say(const char* line, double ms = -1) {
  if (ms < 0) {
    std::printf("probe: %s\n", line);
  } else {
    std::printf("probe: %s %.0f\n", line, ms);
  }
  std::fflush(stdout);
}

void Sound() {
  qrv::LoadSound("/probe/tone.wav", 0, 1);
  const int32_t channel = qrv::PlaySound(0, 0, 1);
  if (channel < 0) {
    std::printf("probe: cannot play: %s\n", qrv::ErrorText().c_str());
    return;
  }
  const double played = qrv::RawTimer();
  Say("playing");
  bool keySeen = false;
  while (qrv::RawTimer() - played < 20000) {
    if (!keySeen && qrv::KeyHit(qrv::kKeySpace) != 0) {
      keySeen = true;
      Say("key", qrv::RawTimer() - played);
    }
    if (qrv::SoundPlaying(channel) == 0) {
      Say("ended", qrv::RawTimer() - played);
      return;
    }
    qrv::Present();
  }
  Say("still playing");
}

void Pause() {
  qrv::ClearScreen(0x203040);
  qrv::Present();
  Say("running");
  for (;;) {
    qrv::ClearScreen(0x203040);
    qrv::Present();
  }
}

void Main() {
  const qrv::RtString probe = qrv::GetEnvironment("QRV_PROBE");
  if (probe == "sound") {
    Sound();
  } else if (probe == "pause") {
    Pause();
  } else {
    Say("QRV_PROBE is sound or pause");
  }
}

}  // namespace

int main(int argc, char** argv) {
  qrv::RunProgram(argc, argv, {nullptr, Main, nullptr});
}
