// Reading a 64 MiB file of int32 values through a file channel, against fread of the
// same values one at a time; and writing int32 values one at a time through a channel
// (each write reaches the file at once) against a buffered fwrite. Prints each pair's ratio
// of real time (target for reading: 3 or less; writing is for comparison: writes are not held
// back).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench_target.h"
#include "quorvia/files.h"

namespace fs = std::filesystem;

namespace {

constexpr int64_t kFileSize = 64 << 20;
constexpr int64_t kValues = kFileSize / 4;

const fs::path& DataFile() {
  static const fs::path path = [] {
    fs::path file = fs::temp_directory_path() / "qrv-bench-int32.bin";
    std::vector<int32_t> values(kValues);
    for (int64_t i = 0; i < kValues; ++i) values[i] = static_cast<int32_t>(i * 2654435761u);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(values.data()), kFileSize);
    return file;
  }();
  return path;
}

void BM_ChannelReadInt32(benchmark::State& state) {
  qrv::RtString name(DataFile().c_str());
  for (auto _ : state) {
    int32_t channel = qrv::FreeChannel();
    qrv::OpenChannel(channel, name, 1);
    int64_t sum = 0;
    for (int64_t i = 0; i < kValues; ++i) {
      int32_t value;
      qrv::ReadInt32(channel, value);
      sum += value;
    }
    qrv::CloseChannel(channel);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_ChannelReadInt32)->Unit(benchmark::kMillisecond);

void BM_FreadInt32(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* file = std::fopen(DataFile().c_str(), "rb");
    int64_t sum = 0;
    for (int64_t i = 0; i < kValues; ++i) {
      int32_t value;
      if (std::fread(&value, 4, 1, file) != 1) break;
      sum += value;
    }
    std::fclose(file);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_FreadInt32)->Unit(benchmark::kMillisecond);

constexpr int64_t kWrittenValues = 1 << 18;

void BM_ChannelWriteInt32(benchmark::State& state) {
  fs::path file = fs::temp_directory_path() / "qrv-bench-written.bin";
  qrv::RtString name(file.c_str());
  for (auto _ : state) {
    qrv::OpenChannel(0, name, 0);
    for (int64_t i = 0; i < kWrittenValues; ++i) qrv::WriteInt32(0, static_cast<int32_t>(i));
    qrv::CloseChannel(0);
  }
  fs::remove(file);
  state.SetBytesProcessed(state.iterations() * kWrittenValues * 4);
}
BENCHMARK(BM_ChannelWriteInt32)->Unit(benchmark::kMillisecond);

void BM_FwriteInt32(benchmark::State& state) {
  fs::path file = fs::temp_directory_path() / "qrv-bench-written.bin";
  for (auto _ : state) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    for (int64_t i = 0; i < kWrittenValues; ++i) {
      int32_t value = static_cast<int32_t>(i);
      std::fwrite(&value, 4, 1, out);
    }
    std::fclose(out);
  }
  fs::remove(file);
  state.SetBytesProcessed(state.iterations() * kWrittenValues * 4);
}
BENCHMARK(BM_FwriteInt32)->Unit(benchmark::kMillisecond);

void Summary(const qrv::bench::Runs& runs) {
  fs::remove(DataFile());
  if (auto ratio = runs.RealTimeRatio("BM_ChannelReadInt32", "BM_FreadInt32")) {
    qrv::bench::CheckAtMost("reading int32 values, channel / fread", *ratio, 3, "x");
  }
  if (auto ratio = runs.RealTimeRatio("BM_ChannelWriteInt32", "BM_FwriteInt32")) {
    std::printf("writing int32 values, channel / buffered fwrite: %.3f x (for comparison)\n",
                *ratio);
  }
}

}  // namespace

QRV_BENCHMARK_MAIN(Summary)
