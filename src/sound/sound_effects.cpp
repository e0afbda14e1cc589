// The sound effect commands: loading a WAV into a slot, playing it on the slot's channels
// with a volume and a pan, and asking after or stopping what plays.
#include <algorithm>

#include "quorvia/files.h"
#include "quorvia/frame.h"
#include "sound/channel_choice.h"
#include "sound/sound_levels.h"
#include "sound/sound_state.h"
#include "sound/wav_samples.h"

namespace qrv {

namespace {

// The slot a command names: above the table the last slot, below it none.
SoundSlot* SlotFor(int32_t slot) {
  SoundSlotTable* table = TheSoundSlots();
  if (table == nullptr || slot < 0) return nullptr;
  return &table->slots[std::min(slot, kSoundSlots - 1)];
}

// The slot and channel of a channel id; null for a negative id.
SoundSlot* SlotOfId(int32_t id, int32_t& channel) {
  if (id < 0) return nullptr;
  channel = id & 255;
  return SlotFor(id >> 8);
}

bool ChannelPlays(const SoundSlot& slot, int32_t channel) {
  return channel >= 0 && channel < slot.channelCount &&
         platform::VoicePlaying(slot.voices[channel]);
}

// Why a WAV file cannot be played, in the words of the error report.
const char* WavProblemText(WavProblem problem) {
  switch (problem) {
    case WavProblem::None:
      return nullptr;
    case WavProblem::NotRiffWave:
      return "not a WAV file";
    case WavProblem::NoFormat:
      return "no format chunk";
    case WavProblem::NoData:
      return "no data chunk after the format";
    case WavProblem::BadFormat:
      return "a format without channels, rate or sample size";
    case WavProblem::ChunkPastEnd:
      return "a chunk runs past the end of the file";
  }
  return "not a WAV file";
}

// The clip of the named WAV file; null and the reason when it cannot be made.
platform::AudioClip* LoadClip(const RtString& name, const char*& reason) {
  RtString resolved;
  MediaBytes file;
  if (!ResolveMediaName(MainPack(), name, resolved, true) || !file.Open(resolved.c_str())) {
    reason = "no such file, or empty or larger than 1 GiB";
    return nullptr;
  }
  WavLayout layout;
  reason = WavProblemText(ReadWavLayout(file.Bytes(), layout));
  if (reason != nullptr) return nullptr;
  WavSamples samples;
  if (!ExtractWavSamples(file.Bytes(), layout, samples)) {
    reason = "a sample format that cannot be played";
    return nullptr;
  }
  platform::AudioClip* clip =
      platform::MakeAudioClip(samples.bytes.data(), samples.bytes.size(), samples.shape);
  if (clip == nullptr) reason = "the sound cannot be converted (too long, or out of memory)";
  return clip;
}

}  // namespace

void LoadSound(const RtString& name, int32_t slotNumber, int32_t channels) {
  ClearError();
  const char* reason = nullptr;
  SoundSlot* slot = SlotFor(slotNumber);
  if (slot == nullptr) {
    reason = slotNumber < 0 ? "no such sound slot" : "no sound device";
  } else {
    ReleaseSlot(*slot);
    slot->device = TheSoundDevice();
    if (slot->device == nullptr || !platform::AudioDeviceOpen()) {
      reason = "no sound device";
    } else {
      slot->clip = LoadClip(name, reason);
    }
  }
  if (reason != nullptr) {
    RecordError(3, {"LoadSound", name.View(), reason});
    return;
  }
  slot->channelCount = std::clamp(channels, 1, kMaxSoundChannels);
}

int32_t PlaySound(int32_t slotNumber, double pan, double volume) {
  SoundSlot* slot = SlotFor(slotNumber);
  if (slot == nullptr || slot->clip == nullptr) return -1;
  ChannelChoice choice = ChooseChannel(slot->channelCount, slot->currentChannel,
                                       [&](int32_t c) { return ChannelPlays(*slot, c); });
  if (choice.channel < 0) return -1;
  platform::Voice& voice = slot->voices[choice.channel];
  if (choice.cutOff) platform::StopVoice(voice);
  const SideGains gains = GainsFor(VolumeAttenuation(VolumeStep(volume)), PanPosition(pan));
  voice = platform::StartVoice(slot->clip, gains.left, gains.right);
  if (voice.channel < 0) return -1;
  return std::min(slotNumber, kSoundSlots - 1) * 256 + choice.channel;
}

int32_t SoundPlaying(int32_t id) {
  int32_t channel = 0;
  const SoundSlot* slot = SlotOfId(id, channel);
  return slot != nullptr && ChannelPlays(*slot, channel) ? 1 : 0;
}

void StopSound(int32_t id) {
  int32_t channel = 0;
  SoundSlot* slot = SlotOfId(id, channel);
  if (slot == nullptr) return;
  if (channel < slot->channelCount) {
    platform::StopVoice(slot->voices[channel]);
    return;
  }
  for (const platform::Voice& voice : slot->voices) platform::StopVoice(voice);
}

void StopAllSounds() {
  SoundSlotTable* table = TheSoundSlots();
  if (table == nullptr) return;
  for (SoundSlot& slot : table->slots) {
    for (const platform::Voice& voice : slot.voices) platform::StopVoice(voice);
  }
}

int32_t FreeSoundSlot() {
  SoundSlotTable* table = TheSoundSlots();
  if (table == nullptr) return 0;
  for (int32_t slot = 0; slot < kSoundSlots; ++slot) {
    if (table->slots[slot].clip == nullptr) return slot;
  }
  return -1;
}

}  // namespace qrv
