// A scalable font file (TrueType, OpenType) read by FreeType at one pixel height: lines of
// UTF-8 text laid out with hinted advances and kerning, every glyph origin on a whole pixel,
// and each glyph rendered once, when first laid out, into the font's packed glyph page.
// Nothing here knows GL: the device uploads the page and draws the glyphs laid out here.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "quorvia/graphics2d.h"
#include "sound/media_bytes.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace qrv {

// The pixel heights a font loads at; anything else is refused before the file is read.
constexpr int32_t kMinFontPixelHeight = 1;
constexpr int32_t kMaxFontPixelHeight = 512;
// The glyph page never grows beyond this side (16 MB of RGBA at most).
constexpr int32_t kMaxGlyphPageSide = 2048;

// One glyph of a laid-out line: its pixels on screen, relative to the line's top-left
// corner, and where they sit on the glyph page.
struct PlacedGlyph {
  int64_t x;
  int32_t y, width, height;
  int32_t pageX, pageY;
};

class TrueTypeFace {
 public:
  ~TrueTypeFace();
  TrueTypeFace(const TrueTypeFace&) = delete;
  TrueTypeFace& operator=(const TrueTypeFace&) = delete;

  // The font of the resolved name (a disk file or a "mem://" block) at pixelHeight pixels
  // to the em, with a glyph page of at most maxPageSide pixels a side. Null, with the
  // reason in reason, when the height is outside kMinFontPixelHeight..kMaxFontPixelHeight,
  // the file cannot be read, or FreeType takes it for no scalable font.
  static std::unique_ptr<TrueTypeFace> Open(std::string_view resolvedName, int32_t pixelHeight,
                                            int32_t maxPageSide, const char*& reason);

  // Lays out one line from the pen at (0, 0), the line's top-left corner: glyphs with
  // pixels go to placed (when given), in text order; the return value is the advance of the
  // whole line, kerning included, in pixels (clamped to the int32 range). Code points the
  // font lacks show its missing-glyph shape; a glyph that finds no room on a full page is
  // left out, its advance kept.
  int64_t Layout(std::string_view text, std::vector<PlacedGlyph>* placed);

  // The page the placed glyphs refer to: white, with the glyphs' coverage as alpha.
  const RgbaImage& Page() const { return page_; }
  // True once glyphs were added since the last call (the page must be uploaded again).
  bool TakePageChange();

  int32_t PixelHeight() const { return pixelHeight_; }
  // Baseline-to-baseline distance and the widest advance of the font, in pixels.
  int32_t LineHeight() const { return lineHeight_; }
  int32_t WidestAdvance() const { return widestAdvance_; }

 private:
  struct Glyph {
    int32_t advance = 0;
    int32_t left = 0, top = 0;  // bitmap offset from the pen, top measured up from the baseline
    int32_t width = 0, height = 0;
    int32_t pageX = 0, pageY = 0;
  };
  TrueTypeFace() = default;
  const Glyph& GlyphFor(uint32_t index);
  bool Render(Glyph& glyph);
  // A free place on the page for a w x h bitmap (the page grows downwards when needed).
  bool Reserve(int32_t w, int32_t h, int32_t& x, int32_t& y);

  MediaBytes bytes_;  // FreeType reads the face from these bytes as long as it lives
  FT_LibraryRec_* library_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
  bool kerning_ = false;
  int32_t pixelHeight_ = 0, ascent_ = 0, lineHeight_ = 0, widestAdvance_ = 0;
  std::unordered_map<uint32_t, Glyph> glyphs_;  // by glyph index
  RgbaImage page_;
  int32_t maxPageSide_ = 0;
  int32_t shelfX_ = 0, shelfY_ = 0, shelfHeight_ = 0;  // the row being filled
  bool pageChanged_ = false;
};

}  // namespace qrv
