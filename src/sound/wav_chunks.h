// The layout of a RIFF/WAVE sound file: the walk over its chunks that finds the format and
// the sample data, in whatever order the writing tool put the chunks.
#pragma once

#include <cstdint>
#include <span>

namespace qrv {

// The format chunk's first 16 bytes, and for the extensible form the tag of its sub-format.
struct WavFormat {
  uint16_t tag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t bytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  // The sub-format's tag for the extensible form (tag 0xFFFE), else the tag itself.
  uint16_t sampleTag = 0;
};

struct WavLayout {
  WavFormat format;
  // Where the sample data lies in the file; whole sample frames only.
  uint32_t dataOffset = 0;
  uint32_t dataSize = 0;
};

enum class WavProblem {
  None,
  NotRiffWave,   // no "RIFF" ... "WAVE" header
  NoFormat,      // the file ends before a format chunk
  NoData,        // the file ends before a data chunk after the format
  BadFormat,     // a format chunk too short, or no channels, rate or sample size
  ChunkPastEnd,  // a chunk's size runs past the end of the file
};

// Walks the chunks of the file's bytes. Chunks before "fmt " and between it and "data"
// are skipped (with the pad byte after an odd size); a format chunk of 16, 18 or 40 bytes
// or any longer one is read by its first 16 (and the extensible sub-format when present).
WavProblem ReadWavLayout(std::span<const uint8_t> file, WavLayout& layout);

}  // namespace qrv
