// Fonts and text on a real GL context: the built-in font against glyphs written out here,
// the 128- and 256-code grids, font files keyed on black, the free-font search and the
// text vertex list.
#include <GL/gl.h>

#include <array>
#include <map>

#include "device_fixture.h"
#include "graphics2d/font_grid.h"
#include "image_fixtures.h"
#include "quorvia/frame.h"

namespace qrv::test {
namespace {

constexpr uint32_t kBackground = 0x402010;

class Fonts : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Device().BuildDefaultFont(0);
    Device().SelectFont(0);
    ClearScreen(int32_t(kBackground));
  }
  // The whole screen as colour values, rows from the top.
  static std::vector<uint32_t> Screen() {
    std::vector<uint32_t> screen;
    for (int32_t y = 0; y < kScreenH; ++y) {
      for (int32_t x = 0; x < kScreenW; ++x) screen.push_back(Pixel(x, y));
    }
    return screen;
  }
};

// A few glyphs of the built-in font, row by row from the top, written out by hand.
const std::map<char, std::array<const char*, 6>>& PinnedGlyphs() {
  static const std::map<char, std::array<const char*, 6>> glyphs = {
      {' ', {".....", ".....", ".....", ".....", ".....", "....."}},
      {'!', {".....", "..#..", "..#..", "..#..", ".....", "..#.."}},
      {'4', {".#.#.", ".#.#.", ".###.", "...#.", "...#.", "....."}},
      {'A', {".###.", ".#.#.", ".###.", ".#.#.", ".#.#.", "....."}},
      {'H', {".#.#.", ".#.#.", ".###.", ".#.#.", ".#.#.", "....."}},
      {'i', {"..#..", ".....", "..#..", "..#..", "..#..", "....."}},
      {'~', {".....", ".....", ".#.#.", "#.#..", ".....", "....."}},
  };
  return glyphs;
}

// What the built-in font shows for a text at (left, top): each character an 8 x 8 cell,
// white where the glyph has a pixel, dark grey next to one, else the background.
std::vector<uint32_t> ExpectedScreen(const std::string& text, int32_t left, int32_t top) {
  std::vector<uint32_t> screen(size_t(kScreenW) * kScreenH, kBackground);
  for (size_t i = 0; i < text.size(); ++i) {
    const int code = uint8_t(text[i]) > 127 ? uint8_t(text[i]) - 128 : uint8_t(text[i]);
    if (code < 32) continue;
    const std::array<const char*, 6>& rows = PinnedGlyphs().at(char(code));
    auto on = [&rows](int gx, int gy) {
      return gx >= 0 && gx < 5 && gy >= 0 && gy < 6 && rows[size_t(gy)][gx] == '#';
    };
    for (int gy = -1; gy <= 6; ++gy) {
      for (int gx = -1; gx <= 5; ++gx) {
        const bool outline = on(gx - 1, gy) || on(gx + 1, gy) || on(gx, gy - 1) || on(gx, gy + 1);
        if (!on(gx, gy) && !outline) continue;
        const int32_t x = left + int32_t(i) * 8 + 1 + gx, y = top + 1 + gy;
        if (x < 0 || x >= kScreenW || y < 0 || y >= kScreenH) continue;
        screen[size_t(y) * kScreenW + size_t(x)] = on(gx, gy) ? 0xFFFFFF : 0x080808;
      }
    }
  }
  return screen;
}

TEST_F(Fonts, BuiltInFontPrintsWholeStringsAsTheTableSays) {
  const struct {
    std::string text;
    float x, y;
    int32_t left, top;
  } cases[] = {
      {"A", 0, 0, 0, 0},
      {"Hi 4!", 10.2f, 3, 11, 3},  // x = 10.2 starts at 11
      {"~!~", 0, 20.5f, 0, 21},
      {"A\x01\x1F"
       "H",
       4, 40, 4, 40},              // codes below 32 are empty cells
      {"\xC1\xE9", 2, 50, 2, 50},  // codes above 127 wrap to 65 and 105
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ClearScreen(int32_t(kBackground));
    Device().PrintText(0, c.text, c.x, c.y, 0);
    EXPECT_EQ(Screen(), ExpectedScreen(c.text, c.left, c.top));
  }
  // One triangle strip: four vertices per character, reused from a list that grows in steps.
  EXPECT_EQ(Device().textVertices.size(), 8u);
  EXPECT_EQ(Device().textVertices.capacity(), 512u);
  Device().PrintText(0, std::string(200, 'x'), 0, 0, 0);
  EXPECT_EQ(Device().textVertices.capacity(), 896u);
}

uint32_t CellColour(int cell) {
  return uint32_t(cell) | uint32_t(255 - cell) << 8 | 0x400000u;
}

TEST_F(Fonts, GridsOf128And256Codes) {
  // Each cell filled with a colour naming its cell number, on a 64 x 32 bitmap (4 x 4
  // cells, 128 codes) and a 64 x 128 one (4 x 8 cells, 256 codes).
  for (const auto& [height, cellHeight, codes] :
       {std::tuple{32, 4, 128}, std::tuple{128, 8, 256}}) {
    SCOPED_TRACE(codes);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < 64; ++x) pixels.push_back(CellColour(y / cellHeight * 16 + x / 4));
    }
    MakeSprite(kFontSlotBase + 5, 64, height, pixels);
    Device().SelectFont(5);
    int32_t w = 0, h = 0;
    Device().FontSize(w, h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, cellHeight);
    for (int code : {0, 1, 17, 72, 127, 128, 200, 255}) {
      SCOPED_TRACE(code);
      ClearScreen(int32_t(kBackground));
      Device().PrintText(5, std::string(1, char(code)), 30, 20, 0);
      EXPECT_EQ(Pixel(31, 21), CellColour(code % codes));
      EXPECT_EQ(Pixel(30 + 4, 21), kBackground);
    }
  }
}

TEST_F(Fonts, LoadingSelectingAndTheFreeFontSearch) {
  for (int32_t font = 0; font < kFontCount; ++font) Device().FreeSprite(kFontSlotBase + font);
  EXPECT_EQ(Device().FirstFreeFont(), 0);
  for (int32_t font = 0; font < 31; ++font) Device().BuildDefaultFont(font);
  EXPECT_EQ(Device().FirstFreeFont(), -1);  // font 31 is free but never offered
  Device().FreeSprite(kFontSlotBase + 7);
  EXPECT_EQ(Device().FirstFreeFont(), 7);

  // A missing file: error 3, the font selected, with the built-in glyphs.
  Device().FreeSprite(kFontSlotBase + 3);
  Device().LoadFont("no such font.png", 3);
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(Device().selectedFont, 3);
  EXPECT_EQ(Device().sprites[kFontSlotBase + 3].width, 128);
  // An empty name empties the font and keeps the selection.
  Device().SelectFont(1);
  Device().LoadFont("", 3);
  EXPECT_EQ(LastError(), 0);
  EXPECT_EQ(Device().selectedFont, 1);
  EXPECT_EQ(Device().sprites[kFontSlotBase + 3].width, 0);
  Device().LoadFont("", -1);  // no font number: nothing else is touched
  Device().SelectFont(99);
  EXPECT_EQ(Device().selectedFont, 31);
  Device().SelectFont(-4);
  EXPECT_EQ(Device().selectedFont, 0);
}

class FontFiles : public Fonts {
 protected:
  std::string Path(const std::string& file) const { return folder_.Path(file); }
  TempFolder folder_{"fonts"};
};

// Font bitmaps as image tools write them: a grey PNG and a 24-bit BMP, white glyph pixels
// on black. The glyph pixels stay in both. A grey PNG is read opaque, with no colour key, so
// its black cell is drawn black; the BMP's black is keyed out.
TEST_F(FontFiles, GreyPngAndBmpFontsKeepTheirGlyphPixels) {
  for (const char* file : {"grey.png", "font.bmp"}) {
    SCOPED_TRACE(file);
    const std::string format = std::string(file) == "grey.png"
                                   ? "-define png:color-type=0 -define png:bit-depth=8 PNG:"
                                   : "BMP3:";
    ASSERT_EQ(test_host::RunShell("convert -size 128x64 xc:black -fill white -draw 'point 17,17' "
                                  "-draw 'point 19,18' " +
                                  format + Path(file))
                  .status,
              0);
    OpenGLZozezezi& device = Device();
    device.SetTransparentColour(0);  // the font key follows the transparent colour
    device.LoadFont(RtString(Path(file).c_str()), 4);
    device.SetTransparentColour(kDefaultTransparentColour);
    ASSERT_EQ(LastError(), 0);
    ClearScreen(int32_t(kBackground));
    // Code 34 is cell (2, 2): pixels (17, 17) and (19, 18) are its (1, 1) and (3, 2).
    device.PrintText(4, "\"", 10, 10, 0);
    EXPECT_EQ(Pixel(11, 11), 0xFFFFFFu);
    EXPECT_EQ(Pixel(13, 12), 0xFFFFFFu);
    const uint32_t black = std::string(file) == "grey.png" ? 0u : kBackground;
    EXPECT_EQ(Pixel(12, 11), black);
    EXPECT_EQ(Pixel(10, 10), black);
  }
}

// Start-up: "smalfont.png" before "smalfont.bmp" before the built-in font, from the current
// folder; font 0 is selected either way.
TEST_F(FontFiles, StartUpFontFromTheProgramFolder) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder_.Dir());
  RgbaImage image;
  image.Resize(256, 128);
  ASSERT_TRUE(SaveImageFile("smalfont.png", image));
  image.Resize(64, 32);
  ASSERT_TRUE(SaveImageFile("smalfont.bmp", image));
  std::vector<int32_t> widths;
  for (const char* remove : {"", "smalfont.png", "smalfont.bmp"}) {
    if (*remove != 0) std::filesystem::remove(remove);
    Device().SelectFont(6);
    Device().StartDefaultFont();
    widths.push_back(Device().sprites[kFontSlotBase].width);
    EXPECT_EQ(Device().selectedFont, 0);
  }
  std::filesystem::current_path(before);
  EXPECT_EQ(widths, (std::vector<int32_t>{256, 64, 128}));
}

TEST_F(Fonts, ProjectedTextIsCentredAboveThePoint) {
  // Under the 2D projection a point maps to itself: the text is centred on x and its top
  // is 8 pixels (font 0's height / 8) above y.
  Device().PrintText3D(0, "AH", 40, 30, 0, 0);
  EXPECT_EQ(Screen(), ExpectedScreen("AH", 32, 22));
  // Facing the camera: cells of 8 x scale along the camera's right and up vectors from the
  // glyphs' bottom edge, centred on the point. Up is +y, which this projection turns down.
  ClearScreen(int32_t(kBackground));
  Device().PrintText3D(0, "AH", 40, 30, 0, 1);
  const std::vector<uint32_t> upright = ExpectedScreen("AH", 32, 30);
  std::vector<uint32_t> flipped = upright;
  for (int32_t y = 30; y < 38; ++y) {
    std::copy_n(upright.begin() + (67 - y) * kScreenW, kScreenW, flipped.begin() + y * kScreenW);
  }
  EXPECT_EQ(Screen(), flipped);
}

}  // namespace
}  // namespace qrv::test
