// The sound device's life: the record and the slot table made at start-up, the mixer
// opened once the window exists, and everything released at shutdown.
#include "frame/runtime.h"
#include "sound/sound_state.h"

namespace qrv {

SoundDevice* TheSoundDevice() {
  return TheRuntime().sound;
}

SoundSlotTable* TheSoundSlots() {
  return TheRuntime().soundSlots;
}

void CreateSoundDevice() {
  Runtime& rt = TheRuntime();
  if (rt.sound == nullptr) rt.sound = new SoundDevice();
  if (rt.soundSlots == nullptr) rt.soundSlots = new SoundSlotTable();
}

bool InitSound() {
  return TheSoundDevice() != nullptr && platform::OpenAudioDevice();
}

void StartOpeningSound() {
  if (TheSoundDevice() != nullptr) platform::StartOpeningAudioDevice();
}

void SetSoundWindow() {
  // The mixer plays for the whole process; no window needs to own it.
}

void ReleaseSlot(SoundSlot& slot) {
  for (const platform::Voice& voice : slot.voices) platform::StopVoice(voice);
  platform::FreeAudioClip(slot.clip);
  slot.clip = nullptr;
  slot.voices = {};
  slot.currentChannel = 0;
  slot.channelCount = 0;
}

void ReleaseSoundSlots() {
  SoundSlotTable* table = TheSoundSlots();
  if (table == nullptr) return;
  for (int32_t slot = kSoundSlots - 1; slot >= 0; --slot) ReleaseSlot(table->slots[slot]);
}

void ShutdownSound() {
  Runtime& rt = TheRuntime();
  StopMusic();
  ReleaseSoundSlots();
  delete rt.soundSlots;
  rt.soundSlots = nullptr;
  platform::CloseAudioDevice();
  delete rt.sound;
  rt.sound = nullptr;
}

}  // namespace qrv
