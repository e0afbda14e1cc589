// Music: one piece at a time through the mixer's music stream. A looping piece is not
// looped by the mixer: its length sets a deadline, and present and the waits restart it
// once the deadline has passed (MusicLoopCheck).
#include <algorithm>
#include <cmath>

#include "frame/runtime.h"
#include "sound/sound_state.h"

namespace qrv {

namespace {

// Pieces shorter than this count as this long, so they restart at most twice a second.
constexpr double kShortestPiece = 500.0;

double PieceLength(platform::MusicTrack* track) {
  return std::max(platform::MusicLength(track), kShortestPiece);
}

MusicState* Music() {
  SoundDevice* device = TheSoundDevice();
  return device != nullptr ? &device->music : nullptr;
}

void CloseTrack(MusicState& music) {
  platform::CloseMusic(music.track);
  music.track = nullptr;
  music.source.Close();
}

// Opens the piece named; the reason when it cannot be played.
const char* OpenPiece(MusicState& music, const RtString& file) {
  RtString resolved;
  if (!platform::AudioDeviceOpen()) return "no sound device";
  if (!ResolveMediaName(MusicPack(), file, resolved, true) ||
      !music.source.Open(resolved.c_str())) {
    return "no such file, or empty or larger than 1 GiB";
  }
  const std::span<const uint8_t> bytes = music.source.Bytes();
  music.track = platform::OpenMusic(bytes.data(), bytes.size());
  if (music.track != nullptr) return nullptr;
  music.source.Close();
  return "not music the mixer can play";
}

}  // namespace

void PlayMusic(const RtString& file, bool loop) {
  ClearError();
  MusicState* music = Music();
  if (music == nullptr) {
    RecordError(3, {"PlayMusic", file.View(), "no sound device"});
    return;
  }
  StopMusic();
  music->name = file;
  if (const char* reason = OpenPiece(*music, file)) {
    RecordError(3, {"PlayMusic", file.View(), reason});
    return;
  }
  music->repeatDeadline = loop ? RawTimer() + PieceLength(music->track) : 0.0;
  platform::StartMusic(music->track);
  SetMusicVolume(1.0);
  TheRuntime().paused = false;
}

int32_t StopMusic() {
  MusicState* music = Music();
  if (music == nullptr) return 0;
  music->volume = -1.0;
  music->repeatDeadline = 0.0;
  CloseTrack(*music);
  return 0;
}

bool MusicPlaying() {
  const MusicState* music = Music();
  if (music == nullptr || music->track == nullptr) return false;
  return music->repeatDeadline > 0 || platform::MusicActive();
}

void SetMusicVolume(double volume) {
  MusicState* music = Music();
  if (music == nullptr || volume == music->volume) return;
  music->volume = volume;
  if (music->track == nullptr) return;
  const double level = volume * 1000.0;
  platform::SetMusicLevel(level > 0 ? static_cast<int32_t>(std::min(level, 1000.0)) : 0);
}

void RestartMusic() {
  MusicState* music = Music();
  if (music != nullptr && music->track != nullptr) platform::StartMusic(music->track);
}

void MusicLoopCheck() {
  MusicState* music = Music();
  if (music == nullptr || music->track == nullptr || music->repeatDeadline <= 0) return;
  const double now = RawTimer();
  if (now < music->repeatDeadline) return;
  music->repeatDeadline = now + PieceLength(music->track);
  platform::StartMusic(music->track);
}

}  // namespace qrv
