// The sample data of a WAV file as the device's converter takes it: the layout's format
// turned into a sample kind, the data left where it lies in the file.
#pragma once

#include <cstdint>
#include <span>

#include "platform/audio_host.h"
#include "sound/wav_chunks.h"

namespace qrv {

struct WavSamples {
  platform::PcmShape shape;
  std::span<const uint8_t> bytes;  // into the file
};

// False when the format has no sample kind here: integer samples of 8, 16, 24 or 32 bits
// (any tag but float counts as integer PCM) or 32-bit float, 1..8 channels, and a block
// alignment of exactly one sample per channel.
bool ExtractWavSamples(std::span<const uint8_t> file, const WavLayout& layout, WavSamples& out);

}  // namespace qrv
