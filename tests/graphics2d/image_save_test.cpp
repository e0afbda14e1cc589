// Saving: the format follows the name's ending, and what is written reads back right in
// an independent decoder. Also `qrv image convert` end to end.
#include <gtest/gtest.h>

#include "image_fixtures.h"

namespace qrv::test {
namespace {

// 5 x 3 pixels, all opaque except the middle one, which is half transparent.
RgbaImage SamplePicture() {
  RgbaImage image;
  image.Resize(5, 3);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = uint8_t(i * 7);
    image.pixels[i + 1] = uint8_t(255 - i * 3);
    image.pixels[i + 2] = uint8_t(i * 11 + 5);
    image.pixels[i + 3] = 255;
  }
  image.Row(1)[2 * 4 + 3] = 128;
  return image;
}

using SaveImage = ScratchFolder;

TEST_F(SaveImage, PicksTheFormatFromTheEnding) {
  const struct {
    const char* name;
    const char* magic;
  } cases[] = {{"a.png", "\x89PNG"}, {"b.Png", "\x89PNG"}, {"c.JPG", "\xFF\xD8\xFF"},
               {"djpg", "\xFF\xD8\xFF"}, {"e.jpeg", "BM"}, {"f.bmp", "BM"}, {"g", "BM"}};
  const RgbaImage image = SamplePicture();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(SaveImageFile(Path(c.name), image));
    const auto bytes = ReadBytes(Path(c.name));
    const std::string magic(c.magic);
    ASSERT_GE(bytes.size(), magic.size());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + long(magic.size())), magic);
  }
}

TEST_F(SaveImage, PngKeepsEveryByte) {
  const RgbaImage image = SamplePicture();
  ASSERT_TRUE(SaveImageFile(Path("a.png"), image));
  EXPECT_EQ(ReferenceRgba("a.png"), image.pixels);
}

TEST_F(SaveImage, BmpIs24BitWithTransparentPixelsInTheTransparentColour) {
  RgbaImage image = SamplePicture();
  ASSERT_TRUE(SaveImageFile(Path("a.bmp"), image));
  const auto bytes = ReadBytes(Path("a.bmp"));
  ASSERT_EQ(bytes.size(), 54u + 16u * 3u);  // rows of 15 bytes padded to 16
  EXPECT_EQ(bytes[28], 24);
  EXPECT_EQ(bytes[10], 54);
  // The independent decoder sees the opaque pixels as they were...
  const auto reference = ReferenceRgba("a.bmp", "-alpha off");
  RgbaImage expected = image;
  uint8_t* half = expected.Row(1) + 2 * 4;
  half[0] = 255, half[1] = 0, half[2] = 128, half[3] = 255;
  EXPECT_EQ(reference, expected.pixels);
  // ...and loading with the default transparent colour makes the other one transparent.
  RgbaImage back;
  ASSERT_TRUE(LoadImageFile(back, Path("a.bmp"), 0x8000FF));
  EXPECT_EQ(back.Row(1)[2 * 4 + 3], 0);
  EXPECT_EQ(back.Row(0)[3], 255);
}

TEST_F(SaveImage, JpegAtQuality80) {
  RgbaImage image;
  image.Resize(16, 16);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = 200, image.pixels[i + 1] = 40, image.pixels[i + 2] = 90;
    image.pixels[i + 3] = 255;
  }
  ASSERT_TRUE(SaveImageFile(Path("a.jpg"), image));
  Shell("test \"$(identify -format %Q a.jpg)\" = 80");
  const auto reference = ReferenceRgba("a.jpg");
  EXPECT_LE(LargestDifference(reference, image.pixels), 3);
}

TEST_F(SaveImage, RefusesMemoryNamesMissingFoldersAndEmptyImages) {
  const RgbaImage image = SamplePicture();
  EXPECT_FALSE(SaveImageFile("mem://00000010.00000001", image));
  EXPECT_FALSE(SaveImageFile(Path("no/such/folder/a.png"), image));
  EXPECT_FALSE(SaveImageFile(Path("empty.png"), RgbaImage()));
  EXPECT_FALSE(std::filesystem::exists(Path("empty.png")));
}

using ImageTool = ScratchFolder;

TEST_F(ImageTool, ConvertsThroughTheRuntimeCodecs) {
  Shell("convert -size 9x7 -seed 2 plasma:fractal PNG24:in.png");
  const std::string qrv = test_host::ShellProgram(QRV_BUILD_DIR "/tools/qrv");
  Shell(qrv + " image convert in.png out.bmp");
  EXPECT_EQ(ReferenceRgba("out.bmp", "-alpha off"), ReferenceRgba("in.png"));
  EXPECT_NE(test_host::RunShell(qrv + " image convert nothing.png x.bmp 2>/dev/null").status, 0);
}

}  // namespace
}  // namespace qrv::test
