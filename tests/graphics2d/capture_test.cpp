// The capture hook on whole runtime programs: the listed presents are saved as PNG files
// holding what was drawn, read from the back buffer before the swap.
#include "image_fixtures.h"

namespace qrv::test {
namespace {

class Capture : public ScratchFolder {
 protected:
  // Runs a test program with the capture variables and a frame limit.
  void Run(const std::string& program, const std::string& frames, int limit) {
    test_host::ChildOptions options;
    options.folder = dir_.string();
    options.env = {{test_host::TempFolderVariable(), dir_.string()},
                   {"QRV_UNPACED", "1"},
                   {"QRV_FRAMES", std::to_string(limit)},
                   {"QRV_CAPTURE", Path("shots")}};
    if (!frames.empty()) options.env.emplace_back("QRV_CAPTURE_FRAMES", frames);
    ASSERT_EQ(test_host::RunProgram(
                  {test_host::Executable(QRV_BUILD_DIR "/tests/program_" + program)}, options),
              0);
  }
  bool Shot(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "shots/frame-%06d.png", n);
    return std::filesystem::exists(Path(name));
  }
  static uint32_t At(const RgbaImage& image, int32_t x, int32_t y) {
    const uint8_t* p = image.Row(y) + x * 4;
    return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24);
  }
};

TEST_F(Capture, SavesTheListedPresentsAsDrawn) {
  Run("draw_probe", "2,3", 4);
  EXPECT_FALSE(Shot(1));
  EXPECT_FALSE(Shot(4));
  for (int frame : {2, 3}) {
    SCOPED_TRACE(frame);
    ASSERT_TRUE(Shot(frame));
    RgbaImage image;
    ASSERT_TRUE(LoadImageFile(image, Path("shots/frame-00000" + std::to_string(frame) + ".png"),
                              kNoColourKey));
    ASSERT_EQ(image.width, 160);
    ASSERT_EQ(image.height, 120);
    EXPECT_EQ(At(image, 10 * frame, 20), 0xFF00FF00u);
    EXPECT_EQ(At(image, 10 * frame + 9, 29), 0xFF00FF00u);
    EXPECT_EQ(At(image, 10 * frame - 1, 20), 0xFF400000u);
    EXPECT_EQ(At(image, 10 * frame + 10, 25), 0xFF400000u);
  }
}

TEST_F(Capture, EveryKthPresent) {
  Run("draw_probe", "every:2", 5);
  EXPECT_EQ(std::vector<bool>({Shot(1), Shot(2), Shot(3), Shot(4), Shot(5)}),
            std::vector<bool>({false, true, false, true, false}));
}

TEST_F(Capture, WorksOnAnyProgram) {
  Run("frame_probe", "", 2);
  EXPECT_TRUE(Shot(1));
  EXPECT_TRUE(Shot(2));
  RgbaImage image;
  EXPECT_TRUE(LoadImageFile(image, Path("shots/frame-000002.png"), kNoColourKey));
}

}  // namespace
}  // namespace qrv::test
