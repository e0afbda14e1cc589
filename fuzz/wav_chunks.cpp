// Fuzz target: an arbitrary file walked as RIFF/WAVE chunks, and the samples it names
// taken out as the loader takes them.
#include <cstddef>
#include <cstdint>
#include <span>

#include "sound/wav_samples.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> file(data, size);
  qrv::WavLayout layout;
  if (qrv::ReadWavLayout(file, layout) != qrv::WavProblem::None) return 0;
  qrv::WavSamples samples;
  if (qrv::ExtractWavSamples(file, layout, samples)) {
    // Every byte handed on must lie inside the input.
    volatile uint8_t sum = 0;
    for (uint8_t byte : samples.bytes) sum = static_cast<uint8_t>(sum + byte);
  }
  return 0;
}
