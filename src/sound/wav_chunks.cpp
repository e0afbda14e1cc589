// The RIFF/WAVE chunk walk. Every size comes from the file, so each is checked against
// the bytes that remain before anything is read.
#include "sound/wav_chunks.h"

#include <cstring>

namespace qrv {

namespace {

constexpr uint16_t kExtensibleTag = 0xFFFE;

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool IsId(const uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

WavProblem ReadFormat(const uint8_t* body, uint32_t size, WavFormat& format) {
  if (size < 16) return WavProblem::BadFormat;
  format.tag = Le16(body);
  format.channels = Le16(body + 2);
  format.sampleRate = Le32(body + 4);
  format.bytesPerSecond = Le32(body + 8);
  format.blockAlign = Le16(body + 12);
  format.bitsPerSample = Le16(body + 14);
  format.sampleTag = format.tag;
  // The extensible form names the real sample format in the first two bytes of its GUID.
  if (format.tag == kExtensibleTag && size >= 40) format.sampleTag = Le16(body + 24);
  if (format.channels == 0 || format.sampleRate == 0 || format.bitsPerSample == 0 ||
      format.blockAlign == 0) {
    return WavProblem::BadFormat;
  }
  return WavProblem::None;
}

}  // namespace

WavProblem ReadWavLayout(std::span<const uint8_t> file, WavLayout& layout) {
  layout = WavLayout{};
  if (file.size() < 12 || !IsId(file.data(), "RIFF") || !IsId(file.data() + 8, "WAVE")) {
    return WavProblem::NotRiffWave;
  }
  bool haveFormat = false, haveData = false;
  uint64_t at = 12;
  while (!(haveFormat && haveData) && at + 8 <= file.size()) {
    const uint8_t* header = file.data() + at;
    const uint64_t size = Le32(header + 4);
    const uint64_t body = at + 8;
    if (size > file.size() - body) return WavProblem::ChunkPastEnd;
    if (!haveFormat && IsId(header, "fmt ")) {
      WavProblem problem =
          ReadFormat(file.data() + body, static_cast<uint32_t>(size), layout.format);
      if (problem != WavProblem::None) return problem;
      haveFormat = true;
    } else if (!haveData && IsId(header, "data")) {
      layout.dataOffset = static_cast<uint32_t>(body);
      layout.dataSize = static_cast<uint32_t>(size);
      haveData = true;
    }
    // Chunks of odd size are followed by one pad byte.
    at = body + size + (size & 1);
  }
  if (!haveFormat) return WavProblem::NoFormat;
  if (!haveData) return WavProblem::NoData;
  layout.dataSize -= layout.dataSize % layout.format.blockAlign;
  return WavProblem::None;
}

}  // namespace qrv
