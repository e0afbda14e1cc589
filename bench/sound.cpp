// Sound effects: the latency from PlaySound to its first non-silent sample in the mixed
// output (seen by the mixer's post-mix hook), and LoadSound of a 10 MB WAV against
// SDL_LoadWAV_RW with SDL_AudioCVT alone, in the same run (target: ratio under 1.5).
// The device is SDL's disk driver writing to /dev/null, so the mixer runs in real time.
#include "quorvia/sound.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "bench_target.h"
#include "frame/runtime.h"
#include "platform/audio_host.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void Le(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>(value >> (8 * i)));
}

// A 16-bit WAV of `seconds` at `rate`, stereo, with a tone in it; its path.
std::string MakeWav(const std::string& tag, int rate, double seconds) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("qrv_bench_" + tag + std::to_string(std::random_device()()) + ".wav"))
                               .string();
  const uint32_t frames = static_cast<uint32_t>(rate * seconds), bytes = frames * 4;
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  Le(out, 36 + bytes, 4);
  out << "WAVEfmt ";
  Le(out, 16, 4);
  Le(out, 1, 2);
  Le(out, 2, 2);
  Le(out, static_cast<uint32_t>(rate), 4);
  Le(out, static_cast<uint32_t>(rate) * 4, 4);
  Le(out, 4, 2);
  Le(out, 16, 2);
  out << "data";
  Le(out, bytes, 4);
  std::string samples(bytes, '\0');
  for (uint32_t i = 0; i < frames; ++i) {
    const int16_t v = static_cast<int16_t>(8000 + (i * 37 % 4000));
    samples[i * 4] = samples[i * 4 + 2] = static_cast<char>(v);
    samples[i * 4 + 1] = samples[i * 4 + 3] = static_cast<char>(v >> 8);
  }
  out << samples;
  return path;
}

bool OpenDevice() {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  qrv::CreateSoundDevice();
  return qrv::InitSound();
}

bool SdlAlone(const std::string& path) {
  SDL_AudioSpec spec;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1, &spec, &buffer, &length) == nullptr) {
    return false;
  }
  SDL_AudioCVT cvt;
  bool ok =
      SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 2, 22050) >= 0;
  if (ok) {
    cvt.len = static_cast<int>(length);
    cvt.buf = static_cast<Uint8*>(SDL_malloc(static_cast<size_t>(length) * cvt.len_mult));
    SDL_memcpy(cvt.buf, buffer, length);
    ok = SDL_ConvertAudio(&cvt) == 0;
    SDL_free(cvt.buf);
  }
  SDL_FreeWAV(buffer);
  return ok;
}

void BM_LoadSound10MB(benchmark::State& state) {
  if (!OpenDevice()) {
    state.SkipWithError("no audio device");
    return;
  }
  const std::string path = MakeWav("load", 44100, 10.0 * 1024 * 1024 / (44100 * 4));
  double loadSeconds = 0, sdlSeconds = 0;
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    qrv::LoadSound(path.c_str(), 1, 1);
    loadSeconds += Seconds(start);
    start = Clock::now();
    benchmark::DoNotOptimize(SdlAlone(path));
    sdlSeconds += Seconds(start);
  }
  if (qrv::FreeSoundSlot() == 1) state.SkipWithError("the sound did not load");
  const double n = double(state.iterations());
  state.counters["load_sound_ms"] = loadSeconds * 1000 / n;
  state.counters["sdl_alone_ms"] = sdlSeconds * 1000 / n;
  state.counters["ratio"] = loadSeconds / sdlSeconds;
  qrv::bench::CheckBelow("LoadSound of a 10 MB WAV / SDL_LoadWAV_RW + SDL_AudioCVT",
                         loadSeconds / sdlSeconds, 1.5, "x");
  qrv::ShutdownSound();
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadSound10MB)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The moment the mixed output first holds sound after the hook was armed.
struct FirstSound {
  std::atomic<bool> armed{false};
  std::atomic<int64_t> heardAt{0};
};

void WatchOutput(void* user, const int16_t* samples, int32_t count) {
  auto* watch = static_cast<FirstSound*>(user);
  if (!watch->armed.load()) return;
  for (int32_t i = 0; i < count; ++i) {
    if (samples[i] != 0) {
      watch->heardAt.store(Clock::now().time_since_epoch().count());
      watch->armed.store(false);
      return;
    }
  }
}

void BM_PlaySoundLatency(benchmark::State& state) {
  if (!OpenDevice()) {
    state.SkipWithError("no audio device");
    return;
  }
  const std::string path = MakeWav("latency", 22050, 0.05);
  qrv::LoadSound(path.c_str(), 0, 1);
  FirstSound watch;
  qrv::platform::SetMixHook(WatchOutput, &watch);
  double total = 0, worst = 0;
  for (auto _ : state) {
    watch.heardAt.store(0);
    watch.armed.store(true);
    const Clock::time_point start = Clock::now();
    if (qrv::PlaySound(0, 0, 1) < 0) {
      state.SkipWithError("the sound did not play");
      break;
    }
    while (watch.heardAt.load() == 0 && Seconds(start) < 1.0) std::this_thread::yield();
    const double latency = std::chrono::duration<double>(Clock::duration(watch.heardAt.load()) -
                                                         start.time_since_epoch())
                               .count();
    total += latency;
    worst = std::max(worst, latency);
    state.PauseTiming();
    qrv::StopAllSounds();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    state.ResumeTiming();
  }
  qrv::platform::SetMixHook(nullptr, nullptr);
  state.counters["mean_latency_ms"] = total * 1000 / double(state.iterations());
  state.counters["worst_latency_ms"] = worst * 1000;
  qrv::ShutdownSound();
  std::filesystem::remove(path);
}
BENCHMARK(BM_PlaySoundLatency)->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace

QRV_BENCHMARK_MAIN()
