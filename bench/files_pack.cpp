// Resolving and reading a 4 MiB member of a 100-member media pack, against liblzo2's
// decompressor alone on the same bytes; the directory is read once for all resolutions.
// Prints their ratio of real time (target: 1.2 or less).
#include <lzo/lzo1x.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench_target.h"
#include "files/media_pack.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kBigSize = 4 << 20;

// Picture-like bytes: smooth rows with a little noise, as game images compress.
std::string PictureBytes(size_t size, uint32_t seed) {
  std::string bytes(size, 0);
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    bytes[i] = static_cast<char>(((i % 4096) / 16 + ((seed >> 28) == 0 ? seed >> 24 : 0)) & 0xff);
  }
  return bytes;
}

struct PackFixture {
  fs::path folder = fs::temp_directory_path() / "qrv-bench-pack";
  fs::path pack = folder / "media.pak";
  std::vector<uint8_t> compressed;  // the big member's LZO1X data

  PackFixture() {
    fs::create_directories(folder);
    std::string command = QRV_BUILD_DIR "/tools/qrv pack create " + pack.string();
    for (int i = 0; i < 100; ++i) {
      fs::path member = folder / ("member" + std::to_string(i) + ".bin");
      std::ofstream(member, std::ios::binary)
          << (i == 50 ? PictureBytes(kBigSize, 7) : PictureBytes(20000 + 97 * i, i));
      command += " " + member.string();
    }
    if (std::system(command.c_str()) != 0) std::abort();
    qrv::FileReader reader;
    qrv::PackDirectory directory;
    reader.OpenForReading(pack.c_str());
    qrv::ReadPackDirectory(reader, directory);
    const qrv::PackEntry* big = qrv::FindPackEntry(directory, "member50.bin");
    compressed.resize(static_cast<size_t>(big->storedSize - 4));
    reader.Seek(big->offset + 4, 0);
    reader.Read(compressed.data(), static_cast<int32_t>(compressed.size()));
  }
  ~PackFixture() { fs::remove_all(folder); }
};

PackFixture& Fixture() {
  static PackFixture fixture;
  return fixture;
}

void BM_LzoDecompressAlone(benchmark::State& state) {
  if (lzo_init() != LZO_E_OK) {
    state.SkipWithError("LZO did not initialise");
    return;
  }
  PackFixture& fixture = Fixture();
  std::vector<uint8_t> out(kBigSize);
  for (auto _ : state) {
    lzo_uint produced = out.size();
    lzo1x_decompress_safe(fixture.compressed.data(), fixture.compressed.size(), out.data(),
                          &produced, nullptr);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kBigSize);
}
BENCHMARK(BM_LzoDecompressAlone)->Unit(benchmark::kMillisecond);

void BM_ResolveAndReadMember(benchmark::State& state) {
  PackFixture& fixture = Fixture();
  qrv::MediaPack pack;
  pack.SetName(fixture.pack.c_str());
  std::vector<uint8_t> out(kBigSize);
  for (auto _ : state) {
    qrv::RtString name;
    qrv::FileReader reader;
    if (!pack.Resolve("Media/member50.bin", name, true) || !reader.OpenForReading(name.c_str()) ||
        !reader.Read(out.data(), reader.Size())) {
      state.SkipWithError("resolution failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * kBigSize);
  state.counters["directory_reads"] = pack.DirectoryLoads();
}
BENCHMARK(BM_ResolveAndReadMember)->Unit(benchmark::kMillisecond);

void Summary(const qrv::bench::Runs& runs) {
  if (auto ratio = runs.RealTimeRatio("BM_ResolveAndReadMember", "BM_LzoDecompressAlone")) {
    qrv::bench::CheckAtMost("a 4 MiB pack member, resolve + read / LZO alone", *ratio, 1.2, "x");
  }
}

}  // namespace

QRV_BENCHMARK_MAIN(Summary)
