// Helpers for the image tests: a scratch folder per test, running the independent
// encoders and decoders installed on the machine, and reading their raw output.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "quorvia/graphics2d.h"
#include "support/host.h"

namespace qrv::test {

// A path in the temporary folder that no other process (another checkout's tests running
// at the same time, say) will pick.
inline std::filesystem::path UniqueTempPath(const std::string& stem) {
  static std::random_device device;
  return std::filesystem::path(test_host::TempRoot()) /
         ("qrv_" + stem + "_" + std::to_string(device()) + std::to_string(device()));
}

// The colour at (x, y): red | green << 8 | blue << 16, alpha left out.
inline uint32_t ColourAt(const RgbaImage& image, int32_t x, int32_t y) {
  const uint8_t* p = image.Row(y) + x * 4;
  return uint32_t(p[0] | p[1] << 8 | p[2] << 16);
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder under the temporary folder for the life of this object.
class TempFolder {
 public:
  explicit TempFolder(const std::string& stem) : dir_(UniqueTempPath(stem)) {
    std::filesystem::create_directories(dir_);
  }
  ~TempFolder() { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& file) const { return (dir_ / file).generic_string(); }
  const std::filesystem::path& Dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

// A fresh folder under the temporary folder, removed with the fixture.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    dir_ = UniqueTempPath(name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& file) const { return (dir_ / file).generic_string(); }

  // Runs a shell command inside the folder; the test fails when it does.
  void Shell(const std::string& command) const {
    const std::string line = "cd '" + dir_.generic_string() + "' && (" + command + ") >/dev/null 2>&1";
    ASSERT_EQ(test_host::RunShell(line).status, 0) << command;
  }

  // What the independent decoder makes of a file: 8-bit RGBA, rows from the top.
  std::vector<uint8_t> ReferenceRgba(const std::string& file, const std::string& options = "") {
    Shell("convert '" + file + "' " + options + " -depth 8 rgba:reference.rgba");
    return ReadBytes(dir_ / "reference.rgba");
  }

  std::filesystem::path dir_;
};

// The largest difference between two pixel buffers of equal size, or 256 when the sizes
// differ.
inline int LargestDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) return 256;
  int largest = 0;
  for (size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
  return largest;
}

}  // namespace qrv::test
