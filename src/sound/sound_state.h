// The sound device record with the music state, and the table of sound slots. One of each
// exists per process (the Runtime's), from start-up to shutdown.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/audio_host.h"
#include "quorvia/rt_string.h"
#include "quorvia/sound.h"
#include "sound/media_bytes.h"

namespace qrv {

// The piece of music: its bytes, the mixer's track over them and the repeat bookkeeping.
struct MusicState {
  MediaBytes source;  // must outlive the track
  platform::MusicTrack* track = nullptr;
  double repeatDeadline = 0.0;  // raw timer ms; 0: not looping
  double volume = -1.0;         // last volume sent; -1: none since the last load or stop
  RtString name;
};

// The sound service works while the host's mixer device is open (platform::AudioDeviceOpen);
// all else is a no-op without.
class SoundDevice {
 public:
  MusicState music;
};

struct SoundSlot {
  int32_t channelCount = 0;  // 0: empty
  int32_t currentChannel = 0;
  SoundDevice* device = nullptr;
  // Channel 0's data, shared by every channel of the slot.
  platform::AudioClip* clip = nullptr;
  std::array<platform::Voice, kMaxSoundChannels> voices{};
};

struct SoundSlotTable {
  std::array<SoundSlot, kSoundSlots> slots{};
};

SoundDevice* TheSoundDevice();
SoundSlotTable* TheSoundSlots();

// Stops every channel of the slot and empties it.
void ReleaseSlot(SoundSlot& slot);

}  // namespace qrv
