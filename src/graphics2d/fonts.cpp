// Bitmap fonts in the top 32 sprite slots: the built-in 5 x 6 font, fonts loaded from
// image files with the font colour key, the selected font, its size and the free-font
// search (TrueType fonts share the slots: truetype_fonts.cpp).
#include <algorithm>

#include "graphics2d/default_font_glyphs.h"
#include "graphics2d/font_grid.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv {
namespace {

constexpr uint8_t kOutline = 8;

// Whether the glyph has a pixel at (px, py) of its 8 x 8 cell; the glyph occupies
// columns 1..5 and rows 1..6.
bool GlyphPixel(uint32_t bits, int32_t px, int32_t py) {
  if (px < 1 || px > 5 || py < 1 || py > 6) return false;
  return (bits >> (5 * (py - 1) + (px - 1)) & 1) != 0;
}

void PaintGlyph(RgbaImage& image, int32_t code) {
  const uint32_t bits = kDefaultFontGlyphs[code - kDefaultFontFirstCode];
  const int32_t left = (code % 16) * 8, top = (code / 16) * 8;
  for (int32_t py = 0; py < 8; ++py) {
    for (int32_t px = 0; px < 7; ++px) {
      uint8_t* p = image.Row(top + py) + size_t(left + px) * 4;
      if (GlyphPixel(bits, px, py)) {
        std::fill_n(p, 4, uint8_t(255));
      } else if (GlyphPixel(bits, px - 1, py) || GlyphPixel(bits, px + 1, py) ||
                 GlyphPixel(bits, px, py - 1) || GlyphPixel(bits, px, py + 1)) {
        p[0] = p[1] = p[2] = kOutline;
        p[3] = 255;
      }
    }
  }
}

}  // namespace

void OpenGLZozezezi::BuildDefaultFont(int32_t font) {
  if (!IsFontNumber(font)) return;
  trueTypeFonts[font] = TrueTypeFont();
  RgbaImage image;
  image.Resize(128, 64);
  for (int32_t code = kDefaultFontFirstCode; code < 128; ++code) PaintGlyph(image, code);
  CreateSprite(kFontSlotBase + font, image, false);
}

void OpenGLZozezezi::LoadFont(const RtString& name, int32_t font) {
  ClearError();
  if (name.Empty()) {
    if (IsFontNumber(font)) {
      trueTypeFonts[font] = TrueTypeFont();
      FreeSprite(kFontSlotBase + font);
    }
    return;
  }
  font = std::clamp(font, 0, kFontCount - 1);
  trueTypeFonts[font] = TrueTypeFont();
  selectedFont = font;
  const int32_t id = kFontSlotBase + font;
  const char* reason = LoadSpriteImage(name, id, fontColourKey, false);
  if (reason == nullptr) return;
  RecordError(3, {"LoadFont", name.View(), reason});
  BuildDefaultFont(font);
}

void OpenGLZozezezi::StartDefaultFont() {
  BuildDefaultFont(0);
  for (const char* name : {"smalfont.png", "smalfont.bmp"}) {
    RtString resolved;
    if (ResolveMediaName(MainPack(), name, resolved, true)) {
      LoadFont(resolved, 0);
      break;
    }
  }
  SelectFont(0);
}

void OpenGLZozezezi::SelectFont(int32_t font) {
  selectedFont = std::clamp(font, 0, kFontCount - 1);
}

void OpenGLZozezezi::FontSize(int32_t& width, int32_t& height) {
  if (const TrueTypeFace* face = TrueTypeFontIn(selectedFont)) {
    width = face->WidestAdvance();
    height = face->LineHeight();
    return;
  }
  const SpriteRecord& s = sprites[size_t(kFontSlotBase + selectedFont)];
  const FontGrid grid = FontGridFor(s.width, s.height);
  width = grid.cellWidth;
  height = grid.cellHeight;
}

// Font 31 is never offered: only 0..30 are searched.
int32_t OpenGLZozezezi::FirstFreeFont() const {
  for (int32_t font = 0; font < kFontCount - 1; ++font) {
    if ((sprites[size_t(kFontSlotBase + font)].width >> 4) == 0) return font;
  }
  return -1;
}

}  // namespace qrv
