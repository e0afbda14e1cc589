// The host side of sound: the mixer device (22050 Hz, stereo, 16-bit), clips of sound data
// in that format played by voices with a gain per side, and one music track at a time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qrv::platform {

// --- Device ------------------------------------------------------------------------------

inline constexpr int32_t kDeviceRate = 22050;
inline constexpr int32_t kDeviceChannels = 2;

// Opens the mixer on the host's audio device in exactly the device format. False when
// there is no device to open; then nothing else here does anything.
bool OpenAudioDevice();
// Opens it on a thread of its own while the caller goes on (the window and GL set-up);
// every function here waits for that thread first, so what they see is what an opening
// in place would have left. Where no thread can start, it opens in place.
void StartOpeningAudioDevice();
void CloseAudioDevice();
bool AudioDeviceOpen();

// A hook that sees every block of mixed output (interleaved 16-bit stereo samples) on the
// mixer's thread; null removes it.
using MixHook = void (*)(void* user, const int16_t* samples, int32_t count);
void SetMixHook(MixHook hook, void* user);

// --- Clips and voices -------------------------------------------------------------------

// How raw sample bytes are laid out: little-endian integers (8-bit unsigned, 16/24/32-bit
// signed) or 32-bit floats, interleaved over 1..8 channels.
enum class SampleKind { Unsigned8, Signed16, Signed24, Signed32, Float32 };
struct PcmShape {
  SampleKind kind = SampleKind::Signed16;
  int32_t channels = 2;
  int32_t rate = kDeviceRate;
};

// Sound data converted once to the device format; every voice playing it shares it.
struct AudioClip;
// Converts whole sample frames piece by piece, so a load needs the converted size and a
// piece beside the source. Null when the shape cannot be converted, the converted sound
// would exceed 2 GiB, memory runs out or the device is closed.
AudioClip* MakeAudioClip(const uint8_t* bytes, size_t size, const PcmShape& shape);
// Stops every voice playing the clip, then frees it.
void FreeAudioClip(AudioClip* clip);
// Bytes of device-format data the clip holds.
size_t AudioClipBytes(const AudioClip* clip);

// One play of a clip. A voice stays valid after it ends: it then simply no longer plays.
struct Voice {
  int32_t channel = -1;
  uint32_t serial = 0;
};
// Plays the clip once from its start with the given linear gain on each side (0..1).
// A voice with channel -1 when no mixer channel could be had.
Voice StartVoice(AudioClip* clip, double leftGain, double rightGain);
bool VoicePlaying(const Voice& voice);
void StopVoice(const Voice& voice);

// --- Music ------------------------------------------------------------------------------

// A piece of music decoded from bytes that stay alive while it is open.
struct MusicTrack;
MusicTrack* OpenMusic(const uint8_t* bytes, size_t size);
void CloseMusic(MusicTrack* track);
// Length in milliseconds; negative when the decoder cannot tell.
double MusicLength(MusicTrack* track);
// Milliseconds from the start of the piece now playing; 0 when nothing plays.
double MusicPosition();
// Plays the piece once from its start.
bool StartMusic(MusicTrack* track);
void HaltMusic();
bool MusicActive();
// Music level as 0..1000, 1000 the normal (full) level.
void SetMusicLevel(int32_t level);
int32_t MusicLevel();

}  // namespace qrv::platform
