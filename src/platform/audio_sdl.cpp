// The mixer device on SDL2_mixer: clips are mixer chunks in the device format, converted
// piece by piece, voices are mixer channels taken from a pool that grows on demand, each
// with its gains applied by a mixer effect at full resolution, music is the mixer's one
// music stream. Everything runs on the main thread except the mix hook and the effects.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <thread>
#include <vector>

#include "platform/audio_host.h"
#include "platform/platform.h"
#include "platform/sdl_subsystems.h"

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
// Sample frames converted at a time while a clip is made.
constexpr size_t kPieceFrames = 16384;
constexpr size_t kDeviceFrameBytes = sizeof(int16_t) * kDeviceChannels;

// A voice's linear gain per side, read by its effect on the mixer's thread.
struct ChannelGain {
  std::atomic<double> left{1.0}, right{1.0};
};

struct MixerState {
  bool open = false;
  // Bumped on every start on a channel, so a voice knows whether the channel is still its.
  std::vector<uint32_t> serials;
  uint32_t nextSerial = 0;
  MusicTrack* playing = nullptr;
  std::array<ChannelGain, kMostChannels> gains;
  // Read on the mixer's thread: the user is stored before the hook and read after it.
  std::atomic<MixHook> hook{nullptr};
  std::atomic<void*> hookUser{nullptr};
};

MixerState& OpenedMixer() {
  static MixerState state;
  return state;
}

// The thread opening the device, while it may still run.
std::thread& AudioOpener() {
  static std::thread opener;
  return opener;
}

// The mixer, once the device is opened or known absent.
MixerState& Mixer() {
  std::thread& opener = AudioOpener();
  if (opener.joinable() && opener.get_id() != std::this_thread::get_id()) opener.join();
  return OpenedMixer();
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
    case SampleKind::Signed24:  // widened to 32 bits piece by piece
    case SampleKind::Signed32:
      return AUDIO_S32LSB;
    case SampleKind::Float32:
      return AUDIO_F32LSB;
  }
  return AUDIO_S16LSB;
}

size_t SampleBytes(SampleKind kind) {
  switch (kind) {
    case SampleKind::Unsigned8:
      return 1;
    case SampleKind::Signed16:
      return 2;
    case SampleKind::Signed24:
      return 3;
    case SampleKind::Signed32:
    case SampleKind::Float32:
      return 4;
  }
  return 2;
}

// Each 3-byte sample becomes the top three bytes of a 4-byte one.
void Widen24(const uint8_t* bytes, size_t size, std::vector<uint8_t>& wide) {
  wide.resize(size / 3 * 4);
  for (size_t in = 0, out = 0; in + 3 <= size; in += 3, out += 4) {
    wide[out] = 0;
    wide[out + 1] = bytes[in];
    wide[out + 2] = bytes[in + 1];
    wide[out + 3] = bytes[in + 2];
  }
}

// The device-format bytes of a conversion, taken piece by piece out of the stream into
// one buffer of the converted length, so a load needs about the converted size once.
// What the stream gives beyond that length (the silence after the end) is dropped.
class ConvertedBytes {
 public:
  explicit ConvertedBytes(size_t length)
      : bytes_(static_cast<Uint8*>(SDL_malloc(std::max<size_t>(length, 1)))), capacity_(length) {}
  ~ConvertedBytes() { SDL_free(bytes_); }
  ConvertedBytes(const ConvertedBytes&) = delete;
  ConvertedBytes& operator=(const ConvertedBytes&) = delete;

  // Takes everything the stream has ready; false when memory runs out.
  bool Drain(SDL_AudioStream* stream) {
    if (bytes_ == nullptr) return false;
    Uint8 beyond[4096];
    for (int ready = SDL_AudioStreamAvailable(stream); ready > 0;
         ready = SDL_AudioStreamAvailable(stream)) {
      const size_t room = capacity_ - length_;
      Uint8* into = room > 0 ? bytes_ + length_ : beyond;
      const int wanted = static_cast<int>(
          std::min<size_t>(static_cast<size_t>(ready), room > 0 ? room : sizeof beyond));
      const int got = SDL_AudioStreamGet(stream, into, wanted);
      if (got <= 0) return false;
      if (room > 0) length_ += static_cast<size_t>(got);
    }
    return true;
  }
  // The bytes, trimmed to whole frames, handed over to the caller.
  Uint8* Release(size_t& length) {
    length = length_ - length_ % kDeviceFrameBytes;
    Uint8* bytes = bytes_;
    if (length > 0 && length < capacity_) {
      if (auto* trimmed = static_cast<Uint8*>(SDL_realloc(bytes, length))) bytes = trimmed;
    }
    bytes_ = nullptr;
    return bytes;
  }

 private:
  Uint8* bytes_;
  size_t capacity_;
  size_t length_ = 0;
};

// Scales a voice's samples by its gains; applied before the mixer adds the voice in.
void ApplyGain(int /*channel*/, void* stream, int length, void* user) {
  const auto* gain = static_cast<const ChannelGain*>(user);
  const double left = gain->left.load(std::memory_order_relaxed);
  const double right = gain->right.load(std::memory_order_relaxed);
  auto* samples = static_cast<int16_t*>(stream);
  const int count = length / static_cast<int>(sizeof(int16_t));
  for (int i = 0; i + 1 < count; i += 2) {
    samples[i] = static_cast<int16_t>(std::lround(samples[i] * left));
    samples[i + 1] = static_cast<int16_t>(std::lround(samples[i + 1] * right));
  }
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

}  // namespace

namespace {

// Opens the device into the state given. The opening thread calls it with the state itself:
// it must not look at its own thread object, which the starting thread may still be writing.
bool OpenInto(MixerState& mixer) {
  if (mixer.open) return true;
  if (!StartSdlSubsystems(SDL_INIT_AUDIO)) return false;
  // No changes allowed: the host converts if its hardware differs.
  if (Mix_OpenAudioDevice(kDeviceRate, AUDIO_S16SYS, kDeviceChannels, kBlockSamples, nullptr, 0) !=
      0) {
    StopSdlSubsystems(SDL_INIT_AUDIO);
    return false;
  }
  Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_OPUS);
  int channels = Mix_AllocateChannels(kFirstChannels);
  mixer.serials.assign(static_cast<size_t>(channels), 0);
  Mix_SetPostMix(PostMix, &mixer);
  mixer.open = true;
  return true;
}

}  // namespace

bool OpenAudioDevice() { return OpenInto(Mixer()); }

void StartOpeningAudioDevice() {
  if (OpenedMixer().open || AudioOpener().joinable()) return;
  // Where no thread can be started (the browser), the device opens here and now.
  if (!CanStartThreads()) {
    OpenInto(OpenedMixer());
    return;
  }
  AudioOpener() = std::thread([] { OpenInto(OpenedMixer()); });
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
  StopSdlSubsystems(SDL_INIT_AUDIO);
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
  const size_t frameBytes = SampleBytes(shape.kind) * static_cast<size_t>(shape.channels);
  const size_t frames = size / frameBytes;
  // The converted length in 64 bits: refused when the mixer could not hold it.
  const uint64_t convertedBytes = static_cast<uint64_t>(frames) * kDeviceRate /
                                  static_cast<uint64_t>(shape.rate) * kDeviceFrameBytes;
  if (frames == 0 || convertedBytes > static_cast<uint64_t>(INT_MAX)) return nullptr;
  SDL_AudioStream* stream =
      SDL_NewAudioStream(HostFormat(shape.kind), static_cast<Uint8>(shape.channels), shape.rate,
                         AUDIO_S16SYS, kDeviceChannels, kDeviceRate);
  if (stream == nullptr) return nullptr;
  ConvertedBytes converted(static_cast<size_t>(convertedBytes));
  std::vector<uint8_t> wide;
  // The resampler keeps the end of the sound back: silence after it pushes that out.
  const size_t padding = kPieceFrames * frameBytes;
  std::vector<uint8_t> silence(padding, shape.kind == SampleKind::Unsigned8 ? 0x80 : 0);
  bool ok = true;
  for (size_t frame = 0; ok && frame < frames + kPieceFrames; frame += kPieceFrames) {
    const uint8_t* piece = frame < frames ? bytes + frame * frameBytes : silence.data();
    size_t pieceBytes =
        frame < frames ? std::min(kPieceFrames, frames - frame) * frameBytes : padding;
    if (shape.kind == SampleKind::Signed24) {
      Widen24(piece, pieceBytes, wide);
      piece = wide.data();
      pieceBytes = wide.size();
    }
    ok = SDL_AudioStreamPut(stream, piece, static_cast<int>(pieceBytes)) == 0 &&
         converted.Drain(stream);
  }
  ok = ok && SDL_AudioStreamFlush(stream) == 0 && converted.Drain(stream);
  SDL_FreeAudioStream(stream);
  if (!ok) return nullptr;
  size_t length = 0;
  Uint8* buffer = converted.Release(length);
  Mix_Chunk* chunk = length > 0 ? Mix_QuickLoad_RAW(buffer, static_cast<Uint32>(length)) : nullptr;
  if (chunk == nullptr) {
    SDL_free(buffer);
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
  Mix_UnregisterAllEffects(channel);
  ChannelGain& gain = mixer.gains[static_cast<size_t>(channel)];
  gain.left.store(std::clamp(leftGain, 0.0, 1.0), std::memory_order_relaxed);
  gain.right.store(std::clamp(rightGain, 0.0, 1.0), std::memory_order_relaxed);
  if ((leftGain < 1.0 || rightGain < 1.0) &&
      Mix_RegisterEffect(channel, ApplyGain, nullptr, &gain) == 0) {
    return voice;
  }
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
