// TrueType fonts on a real GL context: glyphs placed and measured as FreeType itself lays
// out the same face (loaded here on its own), the text colour on TrueType and bitmap fonts,
// UTF-8, fonts from a media pack and a memory block, and files and sizes that are refused.
// The face is Debian's DejaVu Sans, which the Windows build reaches under Wine through the
// drive that maps the Linux root; a host without it (Windows itself) skips these tests.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "device_fixture.h"
#include "graphics2d/font_grid.h"
#include "image_fixtures.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv::test {
namespace {

const char* const kDejaVu = test_host::IsWindows()
                                ? "Z:/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
                                : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr uint32_t kBackground = 0x402010;
constexpr int32_t kFont = 6;

uint8_t ChannelOf(uint32_t colour, int i) {
  return uint8_t(colour >> (8 * i));
}

// src over dst with coverage a (0..255), per channel.
uint32_t Blend(uint32_t dst, uint32_t src, int a) {
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const int d = ChannelOf(dst, i), s = ChannelOf(src, i);
    out |= uint32_t((s * a + d * (255 - a) + 127) / 255) << (8 * i);
  }
  return out;
}

bool Near(uint32_t a, uint32_t b) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(int(ChannelOf(a, i)) - int(ChannelOf(b, i))) > 1) return false;
  }
  return true;
}

// The face as FreeType lays it out, with nothing of the runtime between: hinted glyphs,
// advances and kerning in whole pixels, the baseline at the rounded-up ascender.
class ReferenceFace {
 public:
  ReferenceFace(const char* path, int32_t pixelHeight) {
    ok_ = FT_Init_FreeType(&library_) == 0 && FT_New_Face(library_, path, 0, &face_) == 0 &&
          FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelHeight)) == 0;
  }
  ~ReferenceFace() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  bool Ok() const { return ok_; }
  FT_Face Face() const { return face_; }
  int32_t Ascent() const { return int32_t((face_->size->metrics.ascender + 63) >> 6); }

  // The screen a line of code points draws at (left, top) over the background in colour,
  // and its width.
  std::vector<uint32_t> Screen(const std::u32string& text, int32_t left, int32_t top,
                               uint32_t colour, int32_t* width = nullptr) const {
    std::vector<uint32_t> screen(size_t(kScreenW) * kScreenH, kBackground);
    int32_t pen = 0;
    FT_UInt previous = 0;
    for (char32_t code : text) {
      const FT_UInt index = FT_Get_Char_Index(face_, code);
      FT_Vector kerning{0, 0};
      if (previous != 0 && index != 0) {
        FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kerning);
      }
      EXPECT_EQ(kerning.x % 64, 0) << "kerning is grid-fitted";
      pen += int32_t(kerning.x / 64);
      EXPECT_EQ(FT_Load_Glyph(face_, index, FT_LOAD_RENDER), 0);
      const FT_GlyphSlot g = face_->glyph;
      EXPECT_EQ(g->advance.x % 64, 0) << "hinted advances are whole pixels";
      for (int32_t row = 0; row < int32_t(g->bitmap.rows); ++row) {
        for (int32_t column = 0; column < int32_t(g->bitmap.width); ++column) {
          const int32_t x = left + pen + g->bitmap_left + column;
          const int32_t y = top + Ascent() - g->bitmap_top + row;
          if (x < 0 || x >= kScreenW || y < 0 || y >= kScreenH) continue;
          uint32_t& pixel = screen[size_t(y) * kScreenW + size_t(x)];
          pixel = Blend(pixel, colour, g->bitmap.buffer[row * g->bitmap.pitch + column]);
        }
      }
      pen += int32_t(g->advance.x / 64);
      previous = index;
    }
    if (width != nullptr) *width = pen;
    return screen;
  }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  bool ok_ = false;
};

class TrueTypeFonts : public DeviceTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kDejaVu)) {
      GTEST_SKIP() << "DejaVu Sans is not installed here";
    }
    DeviceTest::SetUp();
    Device().SetTextColour(0xFFFFFF);
    Device().SetAlphaMode(0);
    ClearScreen(int32_t(kBackground));
  }
  void TearDown() override {
    if (TheRuntime().device != nullptr) Device().BuildDefaultFont(kFont);
  }
  static void Load(const std::string& name, int32_t pixelHeight) {
    Device().LoadTrueTypeFont(RtString(name.c_str()), kFont, pixelHeight);
  }
  // Pixels that differ from the expected screen by more than rounding.
  static int Mismatches(const std::vector<uint32_t>& expected) {
    const std::vector<uint32_t> screen = ScreenColours();
    int wrong = 0;
    for (size_t i = 0; i < screen.size(); ++i) wrong += !Near(screen[i], expected[i]);
    return wrong;
  }
};

TEST_F(TrueTypeFonts, GlyphsAndWidthsAreFreeTypesOwn) {
  const struct {
    const char* utf8;
    std::u32string code;
    int32_t pixelHeight;
  } cases[] = {
      {"AVATar Wo.", U"AVATar Wo.", 16},  // kerned pairs: AV VA AT Ta
      {"T\xC3\xA4g \xE2\x82\xAC!", U"T\u00E4g \u20AC!", 21},
      {"jy,|", U"jy,|", 9},  // bitmaps reaching left of the pen and below the baseline
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    ReferenceFace reference(kDejaVu, c.pixelHeight);
    ASSERT_TRUE(reference.Ok());
    Load(kDejaVu, c.pixelHeight);
    ASSERT_EQ(LastError(), 0);
    ASSERT_EQ(Device().selectedFont, kFont);
    ClearScreen(int32_t(kBackground));
    Device().PrintText(kFont, c.utf8, 3.25f, 4, 0);  // x = 3.25 starts at 4
    int32_t width = 0;
    const std::vector<uint32_t> expected = reference.Screen(c.code, 4, 4, 0xFFFFFF, &width);
    EXPECT_EQ(Mismatches(expected), 0);
    EXPECT_EQ(TextWidth(c.utf8), width);
    int32_t w = 0, h = 0;
    FontSize(w, h);
    EXPECT_EQ(h, int32_t((reference.Face()->size->metrics.height + 32) >> 6));
  }
  // Kerning is in force: "AV" is narrower than "A" and "V" apart (at 32 pixels; FreeType
  // scales kerning down at small sizes).
  Load(kDejaVu, 32);
  EXPECT_LT(TextWidth("AV"), TextWidth("A") + TextWidth("V"));
  EXPECT_EQ(TextWidth(""), 0);
  // The built-in font: one cell per byte, multi-byte characters included.
  Device().BuildDefaultFont(kFont);
  EXPECT_EQ(TextWidth("T\xC3\xA4g"), 4 * 8);
}

TEST_F(TrueTypeFonts, ColourTintsBothKindsOfFontAndWhiteKeepsTheBitmapLook) {
  // The built-in font in white, before any colour was set, is the reference look.
  Device().BuildDefaultFont(kFont);
  Device().PrintText(kFont, "AH!", 10, 10, 0);
  const std::vector<uint32_t> white = ScreenColours();
  constexpr uint32_t kTint = 0x30C0F0;
  Device().SetTextColour(int32_t(kTint));
  ClearScreen(int32_t(kBackground));
  Device().PrintText(kFont, "AH!", 10, 10, 0);
  const std::vector<uint32_t> tinted = ScreenColours();
  int body = 0, outline = 0;
  for (size_t i = 0; i < white.size(); ++i) {
    if (white[i] == 0xFFFFFF) {
      ++body;
      EXPECT_EQ(tinted[i], kTint) << "pixel " << i;
    } else {
      outline += white[i] == 0x080808;
      EXPECT_EQ(tinted[i], white[i]) << "pixel " << i;  // outline and background stay
    }
  }
  EXPECT_GT(body, 20);
  EXPECT_GT(outline, 20);
  Device().SetTextColour(0xFFFFFF);
  ClearScreen(int32_t(kBackground));
  Device().PrintText(kFont, "AH!", 10, 10, 0);
  EXPECT_EQ(ScreenColours(), white);

  // TrueType: the coverage blends the colour over the background.
  ReferenceFace reference(kDejaVu, 24);
  Load(kDejaVu, 24);
  Device().SetTextColour(int32_t(kTint));
  ClearScreen(int32_t(kBackground));
  Device().PrintText(kFont, "Mg", 2, 2, 0);
  EXPECT_EQ(Mismatches(reference.Screen(U"Mg", 2, 2, kTint)), 0);
}

TEST_F(TrueTypeFonts, Utf8SequencesAndInvalidBytes) {
  ReferenceFace reference(kDejaVu, 14);
  Load(kDejaVu, 14);
  const struct {
    const char* utf8;
    std::u32string code;
  } cases[] = {
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"\u00E9\u20AC\U0001F600"},  // 2, 3, 4 bytes
      {"a\xC3(", U"a\uFFFD("},                                              // cut short
      {"\x80\xBF", U"\uFFFD\uFFFD"},                                        // stray continuations
      {"\xC0\xAF"
       "b",
       U"\uFFFD\uFFFDb"},                                 // overlong
      {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},            // overlong, 3 bytes
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"z\xF0\x9F", U"z\uFFFD\uFFFD"},                    // cut at the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    ClearScreen(int32_t(kBackground));
    Device().PrintText(kFont, c.utf8, 1, 1, 0);
    int32_t width = 0;
    EXPECT_EQ(Mismatches(reference.Screen(c.code, 1, 1, 0xFFFFFF, &width)), 0);
    EXPECT_EQ(TextWidth(c.utf8), width);
  }
}

// The same font bytes from a memory block and from the main media pack (the file is then
// nowhere on disk under its name) draw what the file draws.
TEST_F(TrueTypeFonts, FontsFromAMemoryBlockAndAMediaPack) {
  Load(kDejaVu, 18);
  Device().PrintText(kFont, "Pack?", 2, 2, 0);
  const std::vector<uint32_t> fromFile = ScreenColours();

  const std::vector<uint8_t> bytes = ReadBytes(kDejaVu);
  auto block = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(block.get(), bytes.data(), bytes.size());
  const RtString name = RegisterMemoryBlock(std::move(block), int32_t(bytes.size()));
  Load(name.c_str(), 18);
  ReleaseMemoryBlock(name);  // the loaded font keeps the bytes it reads
  EXPECT_EQ(LastError(), 0);
  ClearScreen(int32_t(kBackground));
  Device().PrintText(kFont, "Pack?", 2, 2, 0);
  EXPECT_EQ(ScreenColours(), fromFile);

  TempFolder folder("ttf-pack");
  std::filesystem::copy_file(kDejaVu, folder.Path("Title.ttf"));
  test_host::ChildOptions inFolder;
  inFolder.folder = folder.Dir().string();
  ASSERT_EQ(test_host::RunProgram({test_host::Executable(QRV_BUILD_DIR "/tools/qrv"), "pack",
                                   "create", "main.pak", "Title.ttf"},
                                  inFolder),
            0);
  std::filesystem::remove(folder.Path("Title.ttf"));
  SetMediaPacks(RtString(folder.Path("main.pak").c_str()), "");
  Load("Media/Fonts/title.ttf", 18);
  ReleaseMediaPacks();
  EXPECT_EQ(LastError(), 0);
  ClearScreen(int32_t(kBackground));
  Device().PrintText(kFont, "Pack?", 2, 2, 0);
  EXPECT_EQ(ScreenColours(), fromFile);
}

// Every refusal answers as LoadFont does: error 3, the font selected, the built-in glyphs.
TEST_F(TrueTypeFonts, RefusedFilesAndSizesLeaveTheBuiltInFont) {
  TempFolder folder("ttf-bad");
  const std::vector<uint8_t> font = ReadBytes(kDejaVu);
  auto write = [&](const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream(folder.Path(file), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return folder.Path(file);
  };
  std::vector<uint8_t> table(font.begin(), font.begin() + 12);  // a header, no tables
  std::vector<uint8_t> cut(font.begin(), font.begin() + 4000);  // the tables cut off
  const struct {
    std::string name;
    int32_t pixelHeight;
  } cases[] = {
      {folder.Path("missing.ttf"), 16},
      {write("text.ttf", {'h', 'e', 'l', 'l', 'o', '\n'}), 16},
      {write("empty.ttf", {}), 16},
      {write("header.ttf", table), 16},
      {write("cut.ttf", cut), 16},
      {"/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz", 13},  // a bitmap font: not scalable
      {kDejaVu, 0},
      {kDejaVu, -12},
      {kDejaVu, 513},
      {kDejaVu, INT32_MAX},
      {kDejaVu, INT32_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " at " + std::to_string(c.pixelHeight));
    Device().SelectFont(0);
    Load(c.name, c.pixelHeight);
    EXPECT_EQ(LastError(), 3);
    EXPECT_EQ(Device().selectedFont, kFont);
    EXPECT_EQ(Device().TrueTypeFontIn(kFont), nullptr);
    EXPECT_EQ(Device().sprites[kFontSlotBase + kFont].width, 128);
    EXPECT_EQ(TextWidth("abc"), 24);
  }
  // Out of range font numbers are clamped as LoadFont clamps them.
  Device().LoadTrueTypeFont(kDejaVu, 40, 12);
  EXPECT_EQ(Device().selectedFont, 31);
  EXPECT_NE(Device().TrueTypeFontIn(31), nullptr);
  Device().BuildDefaultFont(31);
}

// Damaged glyph data past an intact table directory: the font may load or not, and every
// glyph it has draws or is left out, but nothing ends the program.
TEST_F(TrueTypeFonts, DamagedTablesNeverEndTheProgram) {
  const std::vector<uint8_t> font = ReadBytes(kDejaVu);
  std::string ascii;
  for (char c = 32; c < 127; ++c) ascii += c;
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    std::vector<uint8_t> damaged = font;
    uint32_t state = seed;
    for (size_t i = 0; i < 3000; ++i) {
      state = state * 1664525u + 1013904223u;
      damaged[1024 + state % (damaged.size() - 1024)] ^= uint8_t(state >> 24);
    }
    auto block = std::make_unique<uint8_t[]>(damaged.size());
    std::memcpy(block.get(), damaged.data(), damaged.size());
    const RtString name = RegisterMemoryBlock(std::move(block), int32_t(damaged.size()));
    Load(name.c_str(), 20);
    ReleaseMemoryBlock(name);
    Device().PrintText(kFont, ascii, 0, 0, 0);
    EXPECT_GE(TextWidth(ascii.c_str()), 0);
  }
}

// The glyph page stays within its side limit however many large glyphs are drawn; those that
// find no room are left out while their advances still count.
TEST_F(TrueTypeFonts, AFullGlyphPageStaysWithinItsLimit) {
  Load(kDejaVu, 512);
  ASSERT_EQ(LastError(), 0);
  std::string many;
  for (char32_t code = 0x410; code < 0x450; ++code) {  // Cyrillic capitals and small letters
    many += char(0xC0 | (code >> 6));
    many += char(0x80 | (code & 0x3F));
  }
  Device().PrintText(kFont, many, 0, 0, 0);
  const SpriteRecord& page = Device().sprites[kFontSlotBase + kFont];
  EXPECT_LE(page.width, 2048);
  EXPECT_LE(page.height, 2048);
  ReferenceFace reference(kDejaVu, 512);
  std::u32string codes;
  for (char32_t code = 0x410; code < 0x450; ++code) codes += code;
  int32_t width = 0;
  reference.Screen(codes, 0, 0, 0xFFFFFF, &width);
  EXPECT_EQ(TextWidth(many.c_str()), width);
}

// Text in the 3D scene. Under the 2D projection a point maps to itself: projected, the line
// is centred on x by its own width with its top a line height above y; facing the camera at
// scale 1, a pixel of the font is one unit along the camera's right and up vectors, the line
// standing on the point and centred on it. Up is +y, which this projection turns down.
TEST_F(TrueTypeFonts, TextInTheSceneIsCentredOnThePoint) {
  ReferenceFace reference(kDejaVu, 15);
  Load(kDejaVu, 15);
  int32_t width = 0;
  reference.Screen(U"Ag", 0, 0, 0xFFFFFF, &width);
  ASSERT_EQ(width % 2, 0);  // the centred line's pixels then land on whole pixels
  const int32_t line = int32_t((reference.Face()->size->metrics.height + 32) >> 6);
  Device().PrintText3D(kFont, "Ag", 40, 40, 0, 0);
  EXPECT_EQ(Mismatches(reference.Screen(U"Ag", 40 - width / 2, 40 - line, 0xFFFFFF)), 0);

  ClearScreen(int32_t(kBackground));
  Device().PrintText3D(kFont, "Ag", 40, 20, 0, 1);
  const std::vector<uint32_t> upright = reference.Screen(U"Ag", 40 - width / 2, 20, 0xFFFFFF);
  std::vector<uint32_t> flipped(upright.size(), kBackground);
  for (int32_t y = 20; y < 20 + line; ++y) {
    std::copy_n(upright.begin() + (2 * 20 + line - 1 - y) * kScreenW, kScreenW,
                flipped.begin() + y * kScreenW);
  }
  EXPECT_EQ(Mismatches(flipped), 0);
}

// A TrueType font takes its slot like any font: the free-font search passes it by, FontSize
// reports it, and LoadFont over it brings back a bitmap font.
TEST_F(TrueTypeFonts, SharesTheFontSlots) {
  for (int32_t font = 0; font < kFontCount; ++font) Device().BuildDefaultFont(font);
  Device().FreeSprite(kFontSlotBase + kFont);
  EXPECT_EQ(Device().FirstFreeFont(), kFont);
  Load(kDejaVu, 30);
  EXPECT_EQ(Device().FirstFreeFont(), -1);
  Device().LoadFont("no such font.png", kFont);
  EXPECT_EQ(Device().TrueTypeFontIn(kFont), nullptr);
  EXPECT_EQ(TextWidth("abc"), 24);
}

}  // namespace
}  // namespace qrv::test
