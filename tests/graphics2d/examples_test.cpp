// The text, surface and shader examples run as they ship, for a few captured frames.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/process_runner.h"
#include "image_fixtures.h"
#include "quorvia/graphics2d.h"

namespace qrv::test {
namespace {

// Runs an example for three unpaced frames and returns its third frame.
RgbaImage ThirdFrame(const std::string& example,
                     std::vector<std::pair<std::string, std::string>> env = {}) {
  frame_test::ScratchFolder folder("qrv-example");
  const std::string& shots = folder.Path();
  env.insert(env.end(), {{"QRV_UNPACED", "1"},
                         {"QRV_FRAMES", "3"},
                         {"QRV_CAPTURE", shots},
                         {"QRV_CAPTURE_FRAMES", "3"}});
  frame_test::ProgramRun run(frame_test::ExamplePath(example), {}, env);
  EXPECT_EQ(run.Wait(), 0);
  RgbaImage image;
  EXPECT_TRUE(LoadImageFile(image, shots + "/frame-000003.png", kNoColourKey));
  if (image.Empty()) image.Resize(320, 200);
  return image;
}

TEST(Examples, TextOnScreen) {
  const RgbaImage frame = ThirdFrame("text_on_screen");
  // The first line: white glyph pixels within its cells, the background around them.
  int white = 0;
  for (int32_t y = 8; y < 16; ++y) {
    for (int32_t x = 8; x < 8 + 19 * 8; ++x) white += ColourAt(frame, x, y) == 0xFFFFFFu;
  }
  EXPECT_GT(white, 100);
  EXPECT_EQ(ColourAt(frame, 4, 4), 0x402010u);
  EXPECT_EQ(ColourAt(frame, 8 + 19 * 8 + 2, 12), 0x402010u);
  // The title in gold, right-aligned to x = 312 (TrueType, or the built-in glyphs where the
  // font file is missing).
  int gold = 0, right = 0;
  for (int32_t y = 150; y < 190; ++y) {
    for (int32_t x = 160; x < 320; ++x) {
      if (ColourAt(frame, x, y) != 0x30C8FFu) continue;
      ++gold;
      right = std::max(right, x);
    }
  }
  EXPECT_GT(gold, 60);
  EXPECT_GT(right, 300);
  EXPECT_LT(right, 312);
}

TEST(Examples, SurfaceUsedAsASprite) {
  const RgbaImage withFrameBuffers = ThirdFrame("surface_sprite");
  EXPECT_EQ(ColourAt(withFrameBuffers, 16 + 2, 16 + 40), 0xC00000u);
  EXPECT_EQ(ColourAt(withFrameBuffers, 16 + 20, 16 + 44), 0xFFFF00u);
  EXPECT_EQ(ColourAt(withFrameBuffers, 100, 8), 0x202020u);
  const RgbaImage copied =
      ThirdFrame("surface_sprite", {{"QRV_GL_HIDE", "GL_EXT_framebuffer_object"}});
  EXPECT_TRUE(copied.pixels == withFrameBuffers.pixels);
}

// The sprites' vertices stream through a buffer object; without buffer objects they come
// from client memory, with the same pixels.
TEST(Examples, SpritesDrawAlikeWithoutBufferObjects) {
  const RgbaImage buffered = ThirdFrame("sprites_2d");
  const RgbaImage fromMemory =
      ThirdFrame("sprites_2d", {{"QRV_GL_HIDE", "GL_ARB_multitexture"}});
  ASSERT_FALSE(buffered.Empty());
  EXPECT_TRUE(fromMemory.pixels == buffered.pixels);
}

TEST(Examples, ShaderTintsAndPresentSwitchesItOff) {
  const RgbaImage frame = ThirdFrame("shader_tint");
  EXPECT_EQ(ColourAt(frame, 40 + 32, 60 + 32), 0xFFFFFFu);  // drawn before the shader goes on
  EXPECT_EQ(ColourAt(frame, 200 + 32, 60 + 32), 0x0000FFu);
  EXPECT_EQ(ColourAt(frame, 200 + 32 + 17, 60 + 32), 0x303030u);  // the clear ring
}

}  // namespace
}  // namespace qrv::test
