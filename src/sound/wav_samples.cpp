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
      kind = SampleKind::Signed24;
      return true;
    case 32:
      kind = SampleKind::Signed32;
      return true;
    default:
      return false;
  }
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
  return !out.bytes.empty();
}

}  // namespace qrv
