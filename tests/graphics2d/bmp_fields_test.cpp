// BMP files built field by field: row strides, 16-bit and bit-field pixels, palettes,
// top-down rows, and the damaged headers that must fail cleanly.
#include <gtest/gtest.h>

#include <climits>

#include "image_fixtures.h"

// The cases name only the fields that differ from a plain 24-bit file.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace qrv::test {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

struct BmpRecipe {
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  std::vector<uint8_t> extra;  // palette or masks, between the headers and the rows
  std::vector<uint8_t> rows;   // as stored
  int64_t offset = -1;         // pixel data offset; -1: right after extra
};

std::vector<uint8_t> MakeBmp(const BmpRecipe& s) {
  std::vector<uint8_t> out = {'B', 'M'};
  const uint32_t start = 14 + s.headerSize + uint32_t(s.extra.size());
  Put(out, start + uint32_t(s.rows.size()), 4);
  Put(out, 0, 4);
  Put(out, s.offset < 0 ? start : uint32_t(s.offset), 4);
  Put(out, s.headerSize, 4);
  if (s.headerSize == 12) {
    Put(out, uint32_t(s.width), 2);
    Put(out, uint32_t(s.height), 2);
    Put(out, 1, 2);
    Put(out, s.bits, 2);
  } else {
    Put(out, uint32_t(s.width), 4);
    Put(out, uint32_t(s.height), 4);
    Put(out, 1, 2);
    Put(out, s.bits, 2);
    Put(out, s.compression, 4);
    out.resize(14 + s.headerSize, 0);
  }
  out.insert(out.end(), s.extra.begin(), s.extra.end());
  out.insert(out.end(), s.rows.begin(), s.rows.end());
  return out;
}

struct FieldCase {
  const char* name;
  BmpRecipe recipe;
  std::vector<uint32_t> expected;  // 0xAABBGGRR per pixel, rows from the top
  friend void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }
};

const std::vector<uint8_t> kPalette4 = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};

const FieldCase kFieldCases[] = {
    // A 24-bit row 5 pixels wide takes 16 bytes: the second row starts at byte 16.
    {"stride_24_width_5",
     {.width = 5, .height = 2, .bits = 24,
      .rows = {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
               4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
     {0xFF040506, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
      0xFF010203, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}},
    // A 4-bit row 9 pixels wide takes 8 bytes; the high nibble is the left pixel.
    {"stride_4_width_9",
     {.width = 9, .height = 2, .bits = 4, .extra = kPalette4,
      .rows = {0x12, 0x30, 0, 0, 0x20, 0, 0, 0, 0x03, 0, 0, 0, 0x10}},
     {0xFF000000, 0xFF00FF00, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
      0xFF000000, 0xFFFFFFFF,
      0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
      0xFF000000, 0xFF0000FF}},
    // A 1-bit row 4 pixels wide takes 4 bytes; the top bit is the left pixel.
    {"stride_1_width_4",
     {.width = 4, .height = 2, .bits = 1, .extra = kPalette4, .rows = {0xA0, 0, 0, 0, 0x50}},
     {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF,
      0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000}},
    {"rgb555_white_and_blue_8",
     {.width = 2, .height = 1, .bits = 16, .rows = {0xFF, 0x7F, 0x01, 0x00}},
     {0xFFFFFFFF, 0xFF080000}},
    {"rgb565_bit_fields",
     {.width = 3, .height = 1, .bits = 16, .compression = 3,
      .extra = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0},
      .rows = {0x00, 0xF8, 0x21, 0x08, 0xE0, 0x07, 0, 0}},
     {0xFF0000FF, 0xFF080408, 0xFF00FF00}},
    {"argb32_bit_fields",
     {.width = 1, .height = 1, .bits = 32, .compression = 3,
      .extra = {0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF},
      .rows = {0x00, 0x11, 0x22, 0x33}},
     {0xFF332211}},
    {"top_down_rows",
     {.width = 1, .height = -2, .bits = 24, .rows = {1, 2, 3, 0, 4, 5, 6, 0}},
     {0xFF010203, 0xFF040506}},
    {"core_header_1_bit",
     {.headerSize = 12, .width = 2, .height = 1, .bits = 1, .extra = {0, 0, 0, 9, 8, 7},
      .rows = {0x40, 0, 0, 0}},
     {0xFF000000, 0xFF090807}},
    // Indexes past the palette read as black instead of reading past it.
    {"index_past_palette",
     {.width = 2, .height = 1, .bits = 8, .extra = {1, 2, 3, 0}, .rows = {0, 200, 0, 0}},
     {0xFF010203, 0xFF000000}},
    // The last row may lack its padding.
    {"last_row_unpadded", {.width = 1, .height = 1, .bits = 24, .rows = {7, 8, 9}}, {0xFF070809}},
};

class BmpFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(BmpFields, DecodePixelByPixel) {
  const FieldCase& c = GetParam();
  RgbaImage image;
  ASSERT_TRUE(DecodeBmp(image, MakeBmp(c.recipe), kNoColourKey));
  ASSERT_EQ(size_t(image.width) * size_t(image.height), c.expected.size());
  for (size_t i = 0; i < c.expected.size(); ++i) {
    const uint8_t* p = image.pixels.data() + i * 4;
    EXPECT_EQ(uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24), c.expected[i])
        << "pixel " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpFields, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DamagedCase {
  const char* name;
  BmpRecipe recipe;
  size_t cut = 0;  // bytes removed from the end
  friend void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }
};

const std::vector<uint8_t> kRow24 = {1, 2, 3, 0};

const DamagedCase kDamagedCases[] = {
    {"header_108", {.headerSize = 108, .rows = kRow24}},
    {"header_124", {.headerSize = 124, .rows = kRow24}},
    {"header_0", {.headerSize = 0, .rows = kRow24}},
    {"offset_beyond_file", {.rows = kRow24, .offset = 4000}},
    {"offset_huge", {.rows = kRow24, .offset = 0xFFFFFFF0}},
    {"rows_missing", {.height = 3, .rows = {1, 2, 3, 0, 1, 2, 3, 0}}},
    {"width_overflows", {.width = INT_MAX, .height = INT_MAX, .rows = kRow24}},
    {"height_most_negative", {.height = INT_MIN, .rows = kRow24}},
    {"width_negative", {.width = -4, .rows = kRow24}},
    {"width_zero", {.width = 0, .rows = kRow24}},
    {"bits_2", {.bits = 2, .extra = kPalette4, .rows = kRow24}},
    {"bits_0", {.bits = 0, .rows = kRow24}},
    {"indexed_without_palette", {.bits = 8, .rows = kRow24}},
    {"rle8", {.bits = 8, .compression = 1, .extra = kPalette4, .rows = kRow24}},
    {"cut_in_header", {.rows = kRow24}, 40},
    {"only_magic", {.rows = kRow24}, 56},
};

class BmpDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(BmpDamaged, FailsAndEmptiesTheImage) {
  const DamagedCase& c = GetParam();
  std::vector<uint8_t> file = MakeBmp(c.recipe);
  file.resize(file.size() - std::min(c.cut, file.size()));
  RgbaImage image;
  image.Resize(2, 2);
  EXPECT_FALSE(DecodeBmp(image, file, kNoColourKey));
  EXPECT_TRUE(image.Empty());
  EXPECT_TRUE(image.pixels.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, BmpDamaged, ::testing::ValuesIn(kDamagedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpTopDown, DecodesTheSamePictureAsItsBottomUpTwin) {
  BmpRecipe up{.width = 3, .height = 2, .bits = 8, .extra = kPalette4,
             .rows = {0, 1, 2, 0, 3, 2, 1, 0}};
  BmpRecipe down = up;
  down.height = -2;
  down.rows = {3, 2, 1, 0, 0, 1, 2, 0};
  RgbaImage a, b;
  ASSERT_TRUE(DecodeBmp(a, MakeBmp(up), kNoColourKey));
  ASSERT_TRUE(DecodeBmp(b, MakeBmp(down), kNoColourKey));
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_EQ(b.height, 2);
}

}  // namespace
}  // namespace qrv::test
