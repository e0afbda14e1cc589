// Sound: sound effects, music and movies.
//
// Effects are WAV files loaded whole into 4096 numbered slots and played on up to four
// channels per slot; a play returns the channel id slot * 256 + channel. Music plays one
// piece at a time in the background and repeats from present and the waits; a movie plays
// full-window until a key or mouse button. Loading commands (LoadSound, PlayMusic,
// PlayMovie) set the last error to 0 first and to 3 when they fail, with the reason on the
// QRV_VERBOSE=1 line. Without a sound device every command still works: loads fail with
// error 3, plays return -1, queries answer "not playing".
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {

inline constexpr int32_t kSoundSlots = 4096;
inline constexpr int32_t kMaxSoundChannels = 4;

// --- Life cycle (start-up and shutdown call these) ----------------------------------------

// Creates the sound device record (no service yet) and the slot table of empty slots.
void CreateSoundDevice();
// Opens the mixer device (22050 Hz, stereo, 16-bit) and waits for it. False when there is
// none: the program then runs silently.
bool InitSound();
// The same, on a thread beside the start-up that follows, which does not wait for it: the
// first sound command does (a host without a sound device may take a tenth of a second to
// say so).
void StartOpeningSound();
// Hands the device the program window once it exists (nothing to do on this host).
void SetSoundWindow();
// Empties every slot, last to first.
void ReleaseSoundSlots();
// Stops the music, closes the device and frees the record and the table.
void ShutdownSound();

// --- Sound effects -----------------------------------------------------------------------

// (Re)loads the slot (above 4095: 4095; negative: refused) from a WAV file, a media pack
// member or a "mem://" name, with 1..4 channels (clamped). The slot is empty when it fails
// (error 3).
void LoadSound(const RtString& name, int32_t slot, int32_t channels);
// Plays the slot once: pan -1 (left) .. 1 (right), volume 0..1. The channel id, or -1.
// The volume is in decibels, not a linear factor: its step trunc(volume * 100) gives
// (step - 100) dB, an amplitude of 10^((step - 100) / 20). 1 is full level, 0.94 half the
// amplitude (-6 dB), 0.88 a quarter (-12 dB), 0.5 is -50 dB (nearly silent); below 0.01
// (step 0) is silent. A pan p takes |p| * 100 dB off the opposite side.
int32_t PlaySound(int32_t slot, double pan, double volume);
// The volume for PlaySound whose amplitude is `level` (0..1, linear: 0.5 is half the
// amplitude) under the law above: the step nearest in decibels, given as a volume inside
// that step (0.5 gives 0.945, step 94, -6 dB). Levels too small for step 1 (-99 dB) and
// levels of 0 or less give 0 (silent), 1 and more give 1.
double VolumeForLevel(double level);
// 1 while the channel of the id plays, else 0 (always 0 for a negative id).
int32_t SoundPlaying(int32_t channelId);
// Stops the channel of the id; a channel number outside the slot's stops all of them.
void StopSound(int32_t channelId);
void StopAllSounds();
// The lowest empty slot, -1 when all are in use.
int32_t FreeSoundSlot();

// --- Music -------------------------------------------------------------------------------

// Plays a music file (any format the mixer reads) through the music pack or a "mem://"
// name, from its start; with loop set it restarts whenever its length has passed.
void PlayMusic(const RtString& file, bool loop);
// Stops and closes the piece. Always 0.
int32_t StopMusic();
// No piece: false; looping: true; else whether it still plays.
bool MusicPlaying();
// 1.0 is the normal level; the level is sent only when it differs from the last one sent.
void SetMusicVolume(double volume);
// Plays the piece again from its start.
void RestartMusic();
// Restarts a looping piece once its length has passed; present and the waits call it.
void MusicLoopCheck();

// --- Movies ------------------------------------------------------------------------------

// Plays a movie with its sound, fitted into the window, until it ends (with loop set: never)
// or a key or mouse button is pressed. 0 after playing, 3 when it cannot be found or opened.
int32_t PlayMovie(const RtString& file, bool loop);

}  // namespace qrv
