// Every example the build makes runs under the display: it ends through QRV_FRAMES with exit
// code 0, records no error on the way (QRV_VERBOSE would print it), and its captured frame
// shows a drawing, not an empty screen. Examples with a replay script beside them are driven
// by it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "frame/process_runner.h"
#include "public/program_outcome.h"
#include "quorvia/graphics2d.h"

namespace {

// Every example of the source tree (each examples/NAME.cpp builds example_NAME).
std::set<std::string> BuiltExamples() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(QRV_SOURCE_DIR "/examples")) {
    if (entry.path().extension() == ".cpp") names.insert(entry.path().stem().string());
  }
  return names;
}

// Distinct colours in the image (every other row), counted up to `enough`.
size_t ColourCount(const qrv::RgbaImage& image, size_t enough) {
  std::set<uint32_t> colours;
  for (int32_t y = 0; y < image.height && colours.size() < enough; y += 2) {
    const uint8_t* row = image.Row(y);
    for (int32_t x = 0; x < image.width; ++x) {
      colours.insert(row[x * 4] | row[x * 4 + 1] << 8 | uint32_t(row[x * 4 + 2]) << 16);
    }
  }
  return colours.size();
}

// Examples that talk on the console rather than draw: their arguments ("{port}" becomes a
// free loopback port), and no frame to check.
struct ConsoleExample {
  const char* name;
  const char* args;
};
constexpr ConsoleExample kConsoleExamples[] = {
    {"host_info", ""},                   // prints the host's answers and ends
    {"net_chat", "host {port} tester"},  // hosts a chat on loopback, shown on the console
};

const ConsoleExample* FindConsoleExample(const std::string& name) {
  for (const ConsoleExample& example : kConsoleExamples) {
    if (name == example.name) return &example;
  }
  return nullptr;
}

TEST(Examples, EachRunsCleanlyAndDraws) {
  const std::set<std::string> examples = BuiltExamples();
  EXPECT_GE(examples.size(), 6u);
  for (const std::string& name : examples) {
    SCOPED_TRACE(name);
    std::string environment =
        "QRV_VERBOSE=1 QRV_FRAMES=31 QRV_UNPACED=1 QRV_CAPTURE={dir} QRV_CAPTURE_FRAMES=30";
    const std::filesystem::path replay =
        std::filesystem::path(QRV_SOURCE_DIR) / "examples" / (name + ".replay");
    if (std::filesystem::exists(replay)) environment += " QRV_REPLAY='" + replay.string() + "'";
    const ConsoleExample* console = FindConsoleExample(name);
    std::string args = console != nullptr ? console->args : "";
    if (size_t at = args.find("{port}"); at != std::string::npos) {
      args.replace(at, 6, std::to_string(test_host::FreePort()));
    }
    qrv::RgbaImage frame;
    bool captured = false;
    const public_test::Outcome outcome = public_test::RunToEnd(
        frame_test::ExamplePath(name), environment, args,
        [&](const std::string& folder) {
          captured = qrv::LoadImageFile(frame, folder + "/frame-000030.png", qrv::kNoColourKey);
        });
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors, "");
    if (console != nullptr) continue;
    EXPECT_TRUE(captured) << "no frame 30 was captured";
    if (!captured) continue;
    EXPECT_GE(ColourCount(frame, 2), 2u) << "the frame is one colour: nothing was drawn";
  }
}

}  // namespace
