// The decoders against files written by independent encoders (ImageMagick, netpbm,
// Python PIL), pixel by pixel against an independent decoder's reading of the same file.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "image_fixtures.h"
#include "quorvia/files.h"

namespace qrv::test {
namespace {

struct EncodedCase {
  friend void PrintTo(const EncodedCase& c, std::ostream* os) { *os << c.name; }
  const char* name;
  const char* make;  // shell command: src.ppm / src.png in, out.* out
  const char* file;
  // Extra options for the reference decoder, or "bmptopnm" to read BMP with netpbm.
  const char* referenceOptions;
  int tolerance;                 // largest allowed difference per channel
};

// A 23 x 17 picture: odd width, so every bit depth has row padding.
constexpr const char* kMakeSource =
    "convert -size 23x17 -seed 4 plasma:fractal src.ppm && "
    "convert src.ppm \\( -size 23x17 gradient:white-black \\) -alpha off "
    "-compose copy_opacity -composite PNG32:src.png";

#define PIL "/usr/bin/python3 -c \"from PIL import Image; "

const EncodedCase kEncodedCases[] = {
    {"bmp_info_24", "convert src.ppm -compress none BMP3:out.bmp", "out.bmp", "-alpha off", 0},
    {"bmp_core_24", "convert src.ppm BMP2:out.bmp", "out.bmp", "-alpha off", 0},
    {"bmp_info_8", "convert src.ppm -colors 200 ppm:- | ppmtobmp -windows -bpp 8 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_info_4", "convert src.ppm -colors 16 ppm:- | ppmtobmp -windows -bpp 4 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_info_1", "convert src.ppm -colors 2 ppm:- | ppmtobmp -windows -bpp 1 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_core_8", "convert src.ppm -colors 200 ppm:- | ppmtobmp -os2 -bpp 8 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_core_4", "convert src.ppm -colors 16 ppm:- | ppmtobmp -os2 -bpp 4 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_core_1", "convert src.ppm -colors 2 ppm:- | ppmtobmp -os2 -bpp 1 > out.bmp",
     "out.bmp", "-alpha off", 0},
    {"bmp_16_555", "convert src.ppm -define bmp:subtype=RGB555 BMP3:out.bmp", "out.bmp",
     "bmptopnm", 0},
    {"bmp_32", PIL "Image.open('src.ppm').convert('RGBA').save('out.bmp')\"", "out.bmp",
     "-alpha off", 0},
    {"bmp_pil_1", PIL "Image.open('src.ppm').convert('1').save('out.bmp')\"", "out.bmp",
     "-alpha off", 0},
    {"bmp_pil_grey", PIL "Image.open('src.ppm').convert('L').save('out.bmp')\"", "out.bmp",
     "-alpha off", 0},
    {"png_rgb", "convert src.ppm PNG24:out.png", "out.png", "", 0},
    {"png_rgba", "cp src.png out.png", "out.png", "", 0},
    {"png_palette", "convert src.ppm -colors 40 PNG8:out.png", "out.png", "", 0},
    {"png_palette_trns",
     PIL "Image.open('src.ppm').quantize(40).save('out.png', transparency=3)\"", "out.png", "",
     0},
    {"png_grey_8", "convert src.ppm -colorspace Gray -define png:color-type=0 -depth 8 out.png",
     "out.png", "", 0},
    {"png_grey_4", "convert src.ppm -colorspace Gray -define png:color-type=0 -depth 4 out.png",
     "out.png", "", 0},
    {"png_grey_2", "convert src.ppm -colorspace Gray -define png:color-type=0 -depth 2 out.png",
     "out.png", "", 0},
    {"png_grey_1", "convert src.ppm -colorspace Gray -define png:color-type=0 -depth 1 out.png",
     "out.png", "", 0},
    {"png_rgb_16", "convert src.ppm -depth 16 PNG48:out.png", "out.png", "", 1},
    {"png_rgba_16", "convert src.png -depth 16 PNG64:out.png", "out.png", "", 1},
    {"png_interlaced", "convert src.png -interlace PNG PNG32:out.png", "out.png", "", 0},
    {"png_pil_rgb", PIL "Image.open('src.ppm').save('out.png')\"", "out.png", "", 0},
    {"jpeg_colour", "convert src.ppm -sampling-factor 1x1 -quality 92 out.jpg", "out.jpg", "", 1},
    {"jpeg_progressive", "convert src.ppm -sampling-factor 1x1 -interlace JPEG out.jpg",
     "out.jpg", "", 1},
    {"jpeg_grey", "convert src.ppm -colorspace Gray out.jpg", "out.jpg", "", 1},
    {"jpeg_pil", PIL "Image.open('src.ppm').save('out.jpg', subsampling=0)\"", "out.jpg", "", 1},
    {"jpeg_cmyk", "convert src.ppm -colorspace CMYK -sampling-factor 1x1 out.jpg", "out.jpg",
     "-colorspace sRGB", 2},
};

class DecodeEncoded : public ScratchFolder, public ::testing::WithParamInterface<EncodedCase> {};

TEST_P(DecodeEncoded, MatchesTheIndependentDecoder) {
  const EncodedCase& c = GetParam();
  Shell(kMakeSource);
  Shell(c.make);
  RgbaImage image;
  ASSERT_TRUE(LoadImageFile(image, Path(c.file), kNoColourKey));
  EXPECT_EQ(image.width, 23);
  EXPECT_EQ(image.height, 17);
  const bool netpbm = std::string(c.referenceOptions) == "bmptopnm";
  if (netpbm) Shell(std::string("bmptopnm ") + c.file + " > reference.ppm");
  const auto reference = netpbm ? ReferenceRgba("reference.ppm", "-alpha opaque")
                                : ReferenceRgba(c.file, c.referenceOptions);
  EXPECT_LE(LargestDifference(image.pixels, reference), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeEncoded, ::testing::ValuesIn(kEncodedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files the loader refuses, as a whole: the BMP decoder rejects them and neither the PNG
// nor the JPEG decoder takes them instead.
struct RefusedCase {
  friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
  const char* name;
  const char* make;
  const char* file;
};

const RefusedCase kRefusedCases[] = {
    {"bmp_v4_header", "convert src.ppm -define bmp:format=bmp4 out.bmp", "out.bmp"},
    {"bmp_v5_header", "convert src.ppm BMP:out.bmp", "out.bmp"},
    {"bmp_rle8", "convert src.ppm -colors 200 -compress RLE BMP3:out.bmp", "out.bmp"},
    {"png_grey_alpha", "convert src.png -colorspace Gray -define png:color-type=4 out.png",
     "out.png"},
    {"png_truncated", "convert src.ppm PNG24:- | head -c 300 > out.png", "out.png"},
    {"png_bad_crc", "convert src.ppm PNG24:out.png && printf 'X' | dd of=out.png bs=1 seek=20 "
                    "conv=notrunc", "out.png"},
    {"jpeg_header_only", "convert src.ppm out.jpg && head -c 200 out.jpg > cut.jpg && "
                         "mv cut.jpg out.jpg", "out.jpg"},
    {"text", "echo 'not a picture at all' > out.txt", "out.txt"},
    {"empty", ": > out.bin", "out.bin"},
    {"missing", "true", "nothing-here.png"},
};

class RefuseFile : public ScratchFolder, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefuseFile, FailsQuietlyAndLeavesTheImageEmpty) {
  const RefusedCase& c = GetParam();
  Shell(kMakeSource);
  Shell(c.make);
  RgbaImage image;
  image.Resize(3, 3);
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(LoadImageFile(image, Path(c.file), kNoColourKey));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(image.Empty());
  EXPECT_TRUE(image.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, RefuseFile, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

using ColourKey = ScratchFolder;

TEST_F(ColourKey, KeysBmpAndOpaquePngButNotAlphaPngOrJpeg) {
  Shell("convert -size 4x2 xc:'#FF00FF' -fill '#102030' -draw 'point 1,0' src.ppm && "
        "convert src.ppm -compress none BMP3:k.bmp && convert src.ppm PNG24:k.png && "
        "convert src.ppm PNG32:a.png && convert src.ppm -quality 100 k.jpg");
  const struct {
    const char* file;
    bool keyed;
  } cases[] = {{"k.bmp", true}, {"k.png", true}, {"a.png", false}, {"k.jpg", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    RgbaImage image;
    ASSERT_TRUE(LoadImageFile(image, Path(c.file), 0xFF00FF));
    const uint8_t* magenta = image.Row(0);
    const uint8_t* other = image.Row(0) + 4;
    EXPECT_EQ(magenta[3], c.keyed ? 0 : 255);
    if (c.keyed) {
      EXPECT_EQ(magenta[0] | magenta[1] | magenta[2], 0);
    }
    EXPECT_EQ(other[0], 0x10);
    EXPECT_EQ(other[3], 255);
  }
  // Grey pixels become (v, v, v, 255) and are never keyed: a grey font keeps its black.
  Shell("convert -size 2x1 xc:black -fill '#808080' -draw 'point 1,0' "
        "-define png:color-type=0 -depth 8 g.png");
  RgbaImage grey;
  ASSERT_TRUE(LoadImageFile(grey, Path("g.png"), 0x000000));
  EXPECT_EQ(grey.pixels, (std::vector<uint8_t>{0, 0, 0, 255, 128, 128, 128, 255}));
}

using Signature = ScratchFolder;

// A file that starts like no image is refused from its first bytes: a huge one costs no
// memory (the peak size of this process grows by far less than the file).
TEST_F(Signature, FilesThatStartLikeNoImageAreRefusedUnread) {
  Shell("echo 'not a picture' > big.bin && truncate -s 1500M big.bin");
  const int64_t before = test_host::PeakMemoryBytes();
  RgbaImage image;
  EXPECT_FALSE(LoadImageFile(image, Path("big.bin"), kNoColourKey));
  EXPECT_LT(test_host::PeakMemoryBytes() - before, 100 << 20);
}

using MemoryName = ScratchFolder;

// A media pack may hold any of the three formats, so each decodes from a memory block.
TEST_F(MemoryName, DecodesEveryFormatFromAMemoryBlock) {
  Shell(kMakeSource);
  Shell("convert src.ppm -compress none BMP3:m.bmp && convert src.ppm PNG24:m.png && "
        "convert src.ppm -sampling-factor 1x1 -quality 95 m.jpg");
  for (const char* file : {"m.bmp", "m.png", "m.jpg"}) {
    SCOPED_TRACE(file);
    const auto bytes = ReadBytes(Path(file));
    auto block = std::make_unique<uint8_t[]>(bytes.size());
    std::memcpy(block.get(), bytes.data(), bytes.size());
    const RtString name = RegisterMemoryBlock(std::move(block), int32_t(bytes.size()));
    RgbaImage fromMemory, fromDisk;
    ASSERT_TRUE(LoadImageFile(fromMemory, name.View(), kNoColourKey));
    ASSERT_TRUE(LoadImageFile(fromDisk, Path(file), kNoColourKey));
    EXPECT_EQ(fromMemory.pixels, fromDisk.pixels);
    ReleaseMemoryBlock(name);
    EXPECT_FALSE(LoadImageFile(fromMemory, name.View(), kNoColourKey));
  }
}

}  // namespace
}  // namespace qrv::test
