// TrueType fonts in the font slots: loading through the media names like every loader, the
// glyph page kept as the slot's sprite, and lines drawn as quads of the sprite batch (flat)
// or of the text vertex list (facing the camera in the 3D scene).
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_upload.h"
#include "graphics2d/vertex_growth.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv {
namespace {

// Rendered at load, so that most texts need no page upload of their own.
constexpr std::string_view kPrintableAscii =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

// Page texel (x, y) (y from the page's top) as texture coordinates of the slot's sprite.
float PageS(const SpriteRecord& s, int64_t x) {
  return s.uMax * float(x) / float(s.width);
}
float PageT(const SpriteRecord& s, int64_t y) {
  return s.vMax * (1 - float(y) / float(s.height));
}

}  // namespace

void OpenGLZozezezi::LoadTrueTypeFont(const RtString& name, int32_t font, int32_t pixelHeight) {
  ClearError();
  if (name.Empty()) {
    LoadFont(name, font);
    return;
  }
  font = std::clamp(font, 0, kFontCount - 1);
  selectedFont = font;
  TrueTypeFont& entry = trueTypeFonts[font];
  entry = TrueTypeFont();
  const char* reason = "no such file";
  RtString resolved;
  if (ResolveMediaName(MainPack(), name, resolved, true)) {
    entry.face = TrueTypeFace::Open(resolved.View(), pixelHeight, MaxTextureSide(), reason);
  }
  if (entry.face != nullptr) {
    entry.face->Layout(kPrintableAscii, nullptr);
    entry.face->TakePageChange();
    if (CreateSprite(kFontSlotBase + font, entry.face->Page(), false)) {
      entry.texture = sprites[size_t(kFontSlotBase + font)].texture;
      return;
    }
    reason = "the texture cannot be made";
  }
  RecordError(3, {"LoadTrueTypeFont", name.View(), reason});
  BuildDefaultFont(font);
}

TrueTypeFace* OpenGLZozezezi::TrueTypeFontIn(int32_t font) {
  if (!IsFontNumber(font)) return nullptr;
  TrueTypeFont& entry = trueTypeFonts[font];
  const SpriteRecord& s = sprites[size_t(kFontSlotBase + font)];
  if (entry.face == nullptr || entry.texture == 0 || s.texture != entry.texture ||
      s.width != entry.face->Page().width || s.height != entry.face->Page().height) {
    return nullptr;
  }
  return entry.face.get();
}

bool OpenGLZozezezi::LayOutTrueType(int32_t font, TrueTypeFace& face, std::string_view text,
                                    int64_t& width) {
  placedGlyphs.clear();
  width = face.Layout(text.substr(0, kMaxPrintedCharacters), &placedGlyphs);
  if (!face.TakePageChange()) return true;
  const int32_t id = kFontSlotBase + font;
  trueTypeFonts[font].texture = 0;
  if (!CreateSprite(id, face.Page(), false)) return false;
  trueTypeFonts[font].texture = sprites[size_t(id)].texture;
  return true;
}

int32_t OpenGLZozezezi::TextWidth(int32_t font, std::string_view text) {
  if (!IsFontNumber(font)) return 0;
  text = text.substr(0, kMaxPrintedCharacters);
  if (TrueTypeFace* face = TrueTypeFontIn(font)) return int32_t(face->Layout(text, nullptr));
  const SpriteRecord& s = sprites[size_t(kFontSlotBase + font)];
  const int64_t width = int64_t(FontGridFor(s.width, s.height).cellWidth) * int64_t(text.size());
  return int32_t(std::min<int64_t>(width, INT32_MAX));
}

void OpenGLZozezezi::PrintTrueType(int32_t font, TrueTypeFace& face, std::string_view text, float x,
                                   float y, float z) {
  int64_t width = 0;
  if (!LayOutTrueType(font, face, text, width) || placedGlyphs.empty()) return;
  const int32_t id = kFontSlotBase + font;
  const SpriteRecord& s = sprites[size_t(id)];
  Bind(id);
  SetFilter(GL_NEAREST);  // glyph texels land 1:1 on pixels
  if (z != 0) {
    DrawPendingQuads();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(0, 0, z);
  }
  ApplyTextColour(true);
  const double left = std::ceil(double(x)), top = std::ceil(double(y));
  for (const PlacedGlyph& g : placedGlyphs) {
    const float x0 = float(left + double(g.x)), y0 = float(top + g.y);
    const float x1 = x0 + float(g.width), y1 = y0 + float(g.height);
    const float s0 = PageS(s, g.pageX), s1 = PageS(s, int64_t(g.pageX) + g.width);
    const float t1 = PageT(s, g.pageY), t0 = PageT(s, int64_t(g.pageY) + g.height);
    QuadVertex* c = quadBatch.Append(QuadShape::kQuad);
    c[0] = {x1, y0, s1, t1};
    c[1] = {x0, y0, s0, t1};
    c[2] = {x0, y1, s0, t0};
    c[3] = {x1, y1, s1, t0};
  }
  RestoreTextColour(true);
  if (z != 0) glPopMatrix();
}

void OpenGLZozezezi::PrintTrueTypeFacing(int32_t font, TrueTypeFace& face, std::string_view text,
                                         const float (&start)[3], const float (&r)[3],
                                         const float (&u)[3]) {
  int64_t width = 0;
  if (!LayOutTrueType(font, face, text, width) || placedGlyphs.empty()) return;
  const SpriteRecord& s = sprites[size_t(kFontSlotBase + font)];
  const float half = float(width) / 2, line = float(face.LineHeight());
  ReserveInSteps(textVertices, 4 * placedGlyphs.size());
  textVertices.resize(4 * placedGlyphs.size());
  TextVertex* v = textVertices.data();
  auto corner = [&](float px, float py, float sc, float tc) {
    const float a = px - half, b = line - py;
    return TextVertex{start[0] + a * r[0] + b * u[0], start[1] + a * r[1] + b * u[1],
                      start[2] + a * r[2] + b * u[2], sc, tc};
  };
  for (const PlacedGlyph& g : placedGlyphs) {
    const float x0 = float(g.x), y0 = float(g.y);
    const float x1 = x0 + float(g.width), y1 = y0 + float(g.height);
    const float s0 = PageS(s, g.pageX), s1 = PageS(s, int64_t(g.pageX) + g.width);
    const float t1 = PageT(s, g.pageY), t0 = PageT(s, int64_t(g.pageY) + g.height);
    *v++ = corner(x0, y1, s0, t0);
    *v++ = corner(x1, y1, s1, t0);
    *v++ = corner(x1, y0, s1, t1);
    *v++ = corner(x0, y0, s0, t1);
  }
  Bind(kFontSlotBase + font);
  SetFilter(GL_NEAREST);
  ApplyTextColour(true);
  DrawTextVertices(textVertices, GL_QUADS);
  RestoreTextColour(true);
}

}  // namespace qrv
