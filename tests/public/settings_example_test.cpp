// The settings example as a user runs it from another folder: the runtime works in the
// program's own folder, so the file is read and written beside the program, and the quit
// routine saves it at every end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/process_runner.h"
#include "public/program_outcome.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SettingsExample, SavesItsFileBesideTheProgramAtEveryEnd) {
  test_host::ScratchFolder scratch("qrv-settings-example");
  const fs::path bin = fs::path(scratch.Path()) / "game";
  const std::string program = test_host::Executable("example_settings");
  fs::create_directories(bin);
  fs::copy_file(frame_test::ExamplePath("settings"), bin / program);
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    bool inStartFolder = true;
    const public_test::Outcome outcome = public_test::RunToEnd(
        (bin / program).string(), "QRV_FRAMES=2 QRV_UNPACED=1 QRV_VERBOSE=1", "",
        [&](const std::string& folder) {
          inStartFolder = fs::exists(fs::path(folder) / "example_settings.ini");
        });
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_FALSE(inStartFolder);
    EXPECT_EQ(ReadAll(bin / "example_settings.ini"),
              "[stats]\r\nruns=" + std::to_string(run) +
                  "\r\n[colour]\r\nred=90\r\ngreen=160\r\nblue=255\r\n");
  }
}

}  // namespace
