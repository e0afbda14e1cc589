// Reading a 64 MiB file of int32 values through a file channel, against fread of the
// same values one at a time.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "files_bench.h"
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

}  // namespace

int main(int argc, char** argv) {
  RatioReporter reporter;
  bool ran = RunBenchmarks(argc, argv, reporter);
  fs::remove(DataFile());
  if (ran)
    reporter.PrintRatio("channel / fread (target <= 3)", "BM_ChannelReadInt32", "BM_FreadInt32");
  return 0;
}
