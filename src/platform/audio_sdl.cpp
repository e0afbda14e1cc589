// The mixer device on SDL2_mixer: clips are mixer chunks in the device format, voices are
// mixer channels taken from a pool that grows on demand, music is the mixer's one music
// stream. Everything runs on the main thread except the mix hook.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <vector>

#include "platform/audio_host.h"

namespace qrv::platform {

struct AudioClip {
  Mix_Chunk* chunk = nullptr;
};

struct MusicTrack {
  Mix_Music* music = nullptr;
};

namespace {

// Samples per mixer block: about 23 ms at the device rate.
constexpr int kBlockSamples = 512;
constexpr int kFirstChannels = 16;
constexpr int kMostChannels = 256;

struct MixerState {
  bool open = false;
  // Bumped on every start on a channel, so a voice knows whether the channel is still its.
  std::vector<uint32_t> serials;
  uint32_t nextSerial = 0;
  MusicTrack* playing = nullptr;
  // Read on the mixer's thread: the user is stored before the hook and read after it.
  std::atomic<MixHook> hook{nullptr};
  std::atomic<void*> hookUser{nullptr};
};

MixerState& Mixer() {
  static MixerState state;
  return state;
}

void PostMix(void* user, Uint8* stream, int length) {
  MixerState& mixer = *static_cast<MixerState*>(user);
  if (MixHook hook = mixer.hook.load()) {
    hook(mixer.hookUser.load(), reinterpret_cast<const int16_t*>(stream),
         length / static_cast<int>(sizeof(int16_t)));
  }
}

SDL_AudioFormat HostFormat(SampleKind kind) {
  switch (kind) {
    case SampleKind::Unsigned8:
      return AUDIO_U8;
    case SampleKind::Signed16:
      return AUDIO_S16LSB;
    case SampleKind::Signed32:
      return AUDIO_S32LSB;
    case SampleKind::Float32:
      return AUDIO_F32LSB;
  }
  return AUDIO_S16LSB;
}

// A channel that plays nothing, after growing the pool when every one is busy; -1 when
// the pool is at its limit.
int IdleChannel() {
  MixerState& mixer = Mixer();
  int count = static_cast<int>(mixer.serials.size());
  for (int channel = 0; channel < count; ++channel) {
    if (Mix_Playing(channel) == 0) return channel;
  }
  if (count >= kMostChannels) return -1;
  int grown = Mix_AllocateChannels(std::min(count * 2, kMostChannels));
  mixer.serials.resize(static_cast<size_t>(grown), 0);
  return grown > count ? count : -1;
}

uint8_t PanLevel(double gain) {
  return static_cast<uint8_t>(std::lround(std::clamp(gain, 0.0, 1.0) * 255.0));
}

}  // namespace

bool OpenAudioDevice() {
  MixerState& mixer = Mixer();
  if (mixer.open) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  // No changes allowed: the host converts if its hardware differs.
  if (Mix_OpenAudioDevice(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kBlockSamples, nullptr, 0) !=
      0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_OPUS);
  int channels = Mix_AllocateChannels(kFirstChannels);
  mixer.serials.assign(static_cast<size_t>(channels), 0);
  Mix_SetPostMix(PostMix, &mixer);
  mixer.open = true;
  return true;
}

void CloseAudioDevice() {
  MixerState& mixer = Mixer();
  if (!mixer.open) return;
  Mix_SetPostMix(nullptr, nullptr);
  mixer.hook.store(nullptr);
  Mix_HaltChannel(-1);
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  mixer.serials.clear();
  mixer.playing = nullptr;
  mixer.open = false;
}

bool AudioDeviceOpen() {
  return Mixer().open;
}

void SetMixHook(MixHook hook, void* user) {
  MixerState& mixer = Mixer();
  mixer.hook.store(nullptr);
  mixer.hookUser.store(user);
  mixer.hook.store(hook);
}

AudioClip* MakeAudioClip(const uint8_t* bytes, size_t size, const PcmShape& shape) {
  if (!Mixer().open || shape.channels < 1 || shape.channels > 8 || shape.rate <= 0) return nullptr;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, HostFormat(shape.kind), static_cast<Uint8>(shape.channels),
                        shape.rate, AUDIO_S16SYS, kDeviceChannels, kDeviceRate) < 0) {
    return nullptr;
  }
  if (size == 0 || size > static_cast<size_t>(INT_MAX / std::max(cvt.len_mult, 1))) return nullptr;
  cvt.len = static_cast<int>(size);
  cvt.buf = static_cast<Uint8*>(SDL_malloc(size * static_cast<size_t>(cvt.len_mult)));
  if (cvt.buf == nullptr) return nullptr;
  SDL_memcpy(cvt.buf, bytes, size);
  if (cvt.needed != 0 && SDL_ConvertAudio(&cvt) != 0) {
    SDL_free(cvt.buf);
    return nullptr;
  }
  const int length = cvt.needed != 0 ? cvt.len_cvt : cvt.len;
  Mix_Chunk* chunk = Mix_QuickLoad_RAW(cvt.buf, static_cast<Uint32>(length));
  if (chunk == nullptr || length <= 0) {
    SDL_free(cvt.buf);
    if (chunk != nullptr) Mix_FreeChunk(chunk);
    return nullptr;
  }
  chunk->allocated = 1;  // the chunk owns the converted buffer from here on
  return new AudioClip{chunk};
}

void FreeAudioClip(AudioClip* clip) {
  if (clip == nullptr) return;
  if (Mixer().open) Mix_FreeChunk(clip->chunk);  // halts the channels playing it first
  delete clip;
}

size_t AudioClipBytes(const AudioClip* clip) {
  return clip != nullptr ? clip->chunk->alen : 0;
}

Voice StartVoice(AudioClip* clip, double leftGain, double rightGain) {
  MixerState& mixer = Mixer();
  Voice voice;
  if (!mixer.open || clip == nullptr) return voice;
  int channel = IdleChannel();
  if (channel < 0) return voice;
  // Levels are set before the start, so no block is heard at the previous play's levels.
  Mix_Volume(channel, MIX_MAX_VOLUME);
  Mix_SetPanning(channel, PanLevel(leftGain), PanLevel(rightGain));
  if (Mix_PlayChannel(channel, clip->chunk, 0) != channel) return voice;
  voice.channel = channel;
  voice.serial = ++mixer.nextSerial;
  mixer.serials[static_cast<size_t>(channel)] = voice.serial;
  return voice;
}

bool VoicePlaying(const Voice& voice) {
  const MixerState& mixer = Mixer();
  if (!mixer.open || voice.channel < 0 ||
      static_cast<size_t>(voice.channel) >= mixer.serials.size()) {
    return false;
  }
  return mixer.serials[static_cast<size_t>(voice.channel)] == voice.serial &&
         Mix_Playing(voice.channel) != 0;
}

void StopVoice(const Voice& voice) {
  if (VoicePlaying(voice)) Mix_HaltChannel(voice.channel);
}

MusicTrack* OpenMusic(const uint8_t* bytes, size_t size) {
  if (!Mixer().open || size == 0 || size > static_cast<size_t>(INT_MAX)) return nullptr;
  SDL_RWops* source = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (source == nullptr) return nullptr;
  Mix_Music* music = Mix_LoadMUS_RW(source, 1);
  return music != nullptr ? new MusicTrack{music} : nullptr;
}

void CloseMusic(MusicTrack* track) {
  if (track == nullptr) return;
  MixerState& mixer = Mixer();
  if (mixer.playing == track) {
    Mix_HaltMusic();
    mixer.playing = nullptr;
  }
  if (mixer.open) Mix_FreeMusic(track->music);
  delete track;
}

double MusicLength(MusicTrack* track) {
  if (track == nullptr || !Mixer().open) return -1.0;
  double seconds = Mix_MusicDuration(track->music);
  return seconds >= 0 ? seconds * 1000.0 : -1.0;
}

double MusicPosition() {
  MixerState& mixer = Mixer();
  if (!mixer.open || mixer.playing == nullptr || Mix_PlayingMusic() == 0) return 0.0;
  double seconds = Mix_GetMusicPosition(mixer.playing->music);
  return seconds > 0 ? seconds * 1000.0 : 0.0;
}

bool StartMusic(MusicTrack* track) {
  MixerState& mixer = Mixer();
  if (!mixer.open || track == nullptr) return false;
  mixer.playing = track;
  // One pass through the piece; repeating is the caller's business.
  return Mix_PlayMusic(track->music, 1) == 0;
}

void HaltMusic() {
  MixerState& mixer = Mixer();
  if (!mixer.open) return;
  Mix_HaltMusic();
  mixer.playing = nullptr;
}

bool MusicActive() {
  return Mixer().open && Mix_PlayingMusic() != 0;
}

void SetMusicLevel(int32_t level) {
  if (!Mixer().open) return;
  const int64_t clamped = std::clamp<int64_t>(level, 0, 1000);
  Mix_VolumeMusic(static_cast<int>((clamped * MIX_MAX_VOLUME + 500) / 1000));
}

int32_t MusicLevel() {
  if (!Mixer().open) return 0;
  return (Mix_VolumeMusic(-1) * 1000 + MIX_MAX_VOLUME / 2) / MIX_MAX_VOLUME;
}

}  // namespace qrv::platform
