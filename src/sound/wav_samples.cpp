// From a WAV layout to samples the converter knows.
#include "sound/wav_samples.h"

namespace qrv {

namespace {

constexpr uint16_t kFloatTag = 3;

bool KindFor(const WavFormat& format, platform::SampleKind& kind) {
  using platform::SampleKind;
  if (format.sampleTag == kFloatTag) {
    kind = SampleKind::Float32;
    return format.bitsPerSample == 32;
  }
  switch (format.bitsPerSample) {
    case 8:
      kind = SampleKind::Unsigned8;
      return true;
    case 16:
      kind = SampleKind::Signed16;
      return true;
    case 24:
    case 32:
      kind = SampleKind::Signed32;
      return true;
    default:
      return false;
  }
}

// Each 3-byte sample becomes the top three bytes of a 4-byte one.
std::vector<uint8_t> Widen24(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> wide(bytes.size() / 3 * 4);
  for (size_t in = 0, out = 0; in + 3 <= bytes.size(); in += 3, out += 4) {
    wide[out] = 0;
    wide[out + 1] = bytes[in];
    wide[out + 2] = bytes[in + 1];
    wide[out + 3] = bytes[in + 2];
  }
  return wide;
}

}  // namespace

bool ExtractWavSamples(std::span<const uint8_t> file, const WavLayout& layout, WavSamples& out) {
  const WavFormat& format = layout.format;
  if (format.channels < 1 || format.channels > 8 || format.bitsPerSample % 8 != 0) return false;
  if (format.blockAlign != format.channels * (format.bitsPerSample / 8)) return false;
  if (format.sampleRate > 1000000 || !KindFor(format, out.shape.kind)) return false;
  out.shape.channels = format.channels;
  out.shape.rate = static_cast<int32_t>(format.sampleRate);
  out.bytes = file.subspan(layout.dataOffset, layout.dataSize);
  if (format.bitsPerSample == 24) {
    out.widened = Widen24(out.bytes);
    out.bytes = out.widened;
  }
  return !out.bytes.empty();
}

}  // namespace qrv
