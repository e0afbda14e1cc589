// Scalable fonts through FreeType: the face read from the file's bytes, hinted glyphs laid
// out on whole pixels with the font's kerning, and a shelf-packed glyph page that grows
// downwards until its side limit. Every size taken from the file is bounded before it
// decides an allocation.
#include "graphics2d/truetype_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstring>
#include <string>

#include "graphics2d/utf8_reader.h"

namespace qrv {
namespace {

// Advances, kerning and offsets from a hostile file are held to this many pixels.
constexpr int64_t kMostPixels = 32767;

int32_t WholePixels(FT_Pos value) {  // 26.6 fixed point, rounded
  return int32_t(std::clamp<int64_t>((int64_t(value) + 32) >> 6, -kMostPixels, kMostPixels));
}

int32_t PowerOfTwoAtLeast(int64_t n) {
  int32_t side = 16;
  while (side < n && side < (1 << 30)) side *= 2;
  return side;
}

// An empty page area: white texels without coverage, so that any filtering keeps glyph
// edges white.
void ClearToWhite(uint8_t* texels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    texels[4 * i] = texels[4 * i + 1] = texels[4 * i + 2] = 255;
    texels[4 * i + 3] = 0;
  }
}

}  // namespace

TrueTypeFace::~TrueTypeFace() {
  if (face_ != nullptr) FT_Done_Face(face_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

std::unique_ptr<TrueTypeFace> TrueTypeFace::Open(std::string_view resolvedName, int32_t pixelHeight,
                                                 int32_t maxPageSide, const char*& reason) {
  reason = nullptr;
  if (pixelHeight < kMinFontPixelHeight || pixelHeight > kMaxFontPixelHeight) {
    reason = "pixel height outside 1..512";
    return nullptr;
  }
  std::unique_ptr<TrueTypeFace> font(new TrueTypeFace());
  if (!font->bytes_.Open(std::string(resolvedName).c_str())) {
    reason = "the file cannot be read";
    return nullptr;
  }
  if (FT_Init_FreeType(&font->library_) != 0) {
    font->library_ = nullptr;
    reason = "the font engine cannot start";
    return nullptr;
  }
  const std::span<const uint8_t> bytes = font->bytes_.Bytes();
  if (FT_New_Memory_Face(font->library_, bytes.data(), FT_Long(bytes.size()), 0, &font->face_) !=
      0) {
    font->face_ = nullptr;
    reason = "not a font file";
    return nullptr;
  }
  FT_Face face = font->face_;
  if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelHeight)) != 0) {
    reason = "not a scalable font";
    return nullptr;
  }
  font->pixelHeight_ = pixelHeight;
  font->kerning_ = FT_HAS_KERNING(face);
  const FT_Size_Metrics& metrics = face->size->metrics;
  font->ascent_ = WholePixels(metrics.ascender);
  font->lineHeight_ = std::max(1, WholePixels(metrics.height));
  font->widestAdvance_ = std::max(0, WholePixels(metrics.max_advance));
  font->maxPageSide_ = std::clamp(maxPageSide, 16, kMaxGlyphPageSide);
  // Room for about sixteen glyphs a row, the page starting two rows tall.
  const int32_t width = std::min(PowerOfTwoAtLeast(16 * int64_t(pixelHeight)), font->maxPageSide_);
  const int32_t height = std::min(PowerOfTwoAtLeast(2 * int64_t(pixelHeight) + 4), width);
  font->page_.Resize(width, height);
  ClearToWhite(font->page_.pixels.data(), size_t(width) * size_t(height));
  font->shelfX_ = font->shelfY_ = 1;
  return font;
}

bool TrueTypeFace::TakePageChange() {
  const bool changed = pageChanged_;
  pageChanged_ = false;
  return changed;
}

int64_t TrueTypeFace::Layout(std::string_view text, std::vector<PlacedGlyph>* placed) {
  int64_t pen = 0;
  uint32_t previous = 0;
  for (Utf8Reader reader(text); !reader.AtEnd();) {
    const uint32_t index = FT_Get_Char_Index(face_, FT_ULong(reader.Next()));
    FT_Vector kerning{0, 0};
    if (kerning_ && previous != 0 && index != 0 &&
        FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kerning) == 0) {
      pen += WholePixels(kerning.x);
    }
    const Glyph& glyph = GlyphFor(index);
    if (placed != nullptr && glyph.width > 0) {
      placed->push_back({pen + glyph.left, ascent_ - glyph.top, glyph.width, glyph.height,
                         glyph.pageX, glyph.pageY});
    }
    pen += glyph.advance;
    previous = index;
  }
  return std::clamp<int64_t>(pen, INT32_MIN, INT32_MAX);
}

const TrueTypeFace::Glyph& TrueTypeFace::GlyphFor(uint32_t index) {
  const auto [entry, added] = glyphs_.try_emplace(index);
  Glyph& glyph = entry->second;
  if (added && FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) == 0) {
    glyph.advance = WholePixels(face_->glyph->advance.x);
    if (!Render(glyph)) glyph.width = glyph.height = 0;
  }
  return glyph;
}

// The loaded glyph's coverage onto the page. A glyph whose outline spans more than the
// page could hold is never rendered: its bitmap would only be thrown away.
bool TrueTypeFace::Render(Glyph& glyph) {
  FT_GlyphSlot slot = face_->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  FT_BBox box;
  FT_Outline_Get_CBox(&slot->outline, &box);
  const int64_t spanX = (int64_t(box.xMax) - box.xMin) / 64,
                spanY = (int64_t(box.yMax) - box.yMin) / 64;
  if (spanX + 2 >= page_.width || spanY + 2 >= maxPageSide_) return false;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bitmap = slot->bitmap;
  const int32_t w = int32_t(bitmap.width), h = int32_t(bitmap.rows);
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays < 2 || w <= 0 || h <= 0) {
    return false;
  }
  int32_t x = 0, y = 0;
  if (!Reserve(w, h, x, y)) return false;
  const int32_t top = int32_t(std::clamp<int64_t>(slot->bitmap_top, -kMostPixels, kMostPixels));
  const int32_t left = int32_t(std::clamp<int64_t>(slot->bitmap_left, -kMostPixels, kMostPixels));
  glyph = {glyph.advance, left, top, w, h, x, y};
  const int64_t pitch = bitmap.pitch, levels = bitmap.num_grays - 1;
  for (int32_t row = 0; row < h; ++row) {
    const uint8_t* source = bitmap.buffer + (pitch >= 0 ? row * pitch : (h - 1 - row) * -pitch);
    uint8_t* texel = page_.Row(y + row) + size_t(x) * 4;
    for (int32_t column = 0; column < w; ++column) {
      texel[4 * column + 3] = uint8_t(std::min<int64_t>(source[column], levels) * 255 / levels);
    }
  }
  pageChanged_ = true;
  return true;
}

bool TrueTypeFace::Reserve(int32_t w, int32_t h, int32_t& x, int32_t& y) {
  // One clear texel around every glyph.
  if (w + 2 > page_.width || h + 2 > maxPageSide_) return false;
  if (shelfX_ + w + 1 > page_.width) {
    shelfY_ += shelfHeight_;
    shelfX_ = 1;
    shelfHeight_ = 0;
  }
  const int64_t bottom = int64_t(shelfY_) + std::max(shelfHeight_, h + 1);
  if (bottom > maxPageSide_) return false;
  if (bottom > page_.height) {
    const int32_t height = std::min(PowerOfTwoAtLeast(bottom), maxPageSide_);
    RgbaImage grown;
    grown.Resize(page_.width, height);
    std::memcpy(grown.pixels.data(), page_.pixels.data(), page_.pixels.size());
    ClearToWhite(grown.pixels.data() + page_.pixels.size(),
                 size_t(page_.width) * size_t(height - page_.height));
    page_ = std::move(grown);
  }
  x = shelfX_;
  y = shelfY_;
  shelfX_ += w + 1;
  shelfHeight_ = std::max(shelfHeight_, h + 1);
  return true;
}

}  // namespace qrv
