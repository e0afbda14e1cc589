// Printing text: fixed-width cells laid out left to right from the font's grid, drawn from
// the text vertex list as one triangle strip (flat text) or as quads (text in 3D), in the
// text colour. A slot holding a TrueType font hands its text to truetype_fonts.cpp.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "graphics2d/font_grid.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/vertex_growth.h"

namespace qrv {
namespace {

// The texture rectangle of one character cell; t0 is the cell's bottom edge.
struct CellCoords {
  float s0, s1, t0, t1;
};

class CellMapper {
 public:
  CellMapper(const SpriteRecord& s, const FontGrid& grid)
      : grid_(grid), ss_(s.uMax * 0.0625f), ts_(s.vMax * (grid.rows == 16 ? 0.0625f : 0.125f)) {}
  CellCoords operator()(uint8_t byte) const {
    const int32_t k = byte % grid_.codes, column = k % 16, row = k / 16;
    const float s0 = ss_ * float(column), t0 = ts_ * float(grid_.rows - 1 - row);
    return {s0, s0 + ss_, t0, t0 + ts_};
  }

 private:
  FontGrid grid_;
  float ss_, ts_;
};

}  // namespace

void DrawTextVertices(const std::vector<OpenGLZozezezi::TextVertex>& v, GLenum mode) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(v[0]), &v[0].x);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, sizeof(v[0]), &v[0].s);
  glDrawArrays(mode, 0, GLsizei(v.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void OpenGLZozezezi::PrintText(int32_t font, std::string_view text, float x, float y, float z) {
  if (text.empty() || !IsFontNumber(font)) return;
  if (TrueTypeFace* face = TrueTypeFontIn(font)) {
    PrintTrueType(font, *face, text, x, y, z);
    return;
  }
  text = text.substr(0, kMaxPrintedCharacters);
  const int32_t id = kFontSlotBase + font;
  const SpriteRecord& s = sprites[size_t(id)];
  const FontGrid grid = FontGridFor(s.width, s.height);
  const CellMapper cell(s, grid);
  ReserveInSteps(textVertices, 4 * text.size());
  textVertices.resize(4 * text.size());
  Bind(id);
  SetFilter(GL_NEAREST);  // glyphs are never smoothed
  HandOverArrays();
  float x0 = std::ceil(x);
  const float y0 = std::ceil(y), y1 = y0 + float(grid.cellHeight);
  TextVertex* v = textVertices.data();
  for (char c : text) {
    const CellCoords t = cell(uint8_t(c));
    const float x1 = x0 + float(grid.cellWidth);
    *v++ = {x0, y1, z, t.s0, t.t0};
    *v++ = {x0, y0, z, t.s0, t.t1};
    *v++ = {x1, y1, z, t.s1, t.t0};
    *v++ = {x1, y0, z, t.s1, t.t1};
    x0 = x1;
  }
  ApplyTextColour(false);
  DrawTextVertices(textVertices, GL_TRIANGLE_STRIP);
  RestoreTextColour(false);
}

void OpenGLZozezezi::PrintText3D(int32_t font, std::string_view text, float x, float y, float z,
                                 float scale) {
  if (text.empty() || !IsFontNumber(font)) return;
  text = text.substr(0, kMaxPrintedCharacters);
  HandOverArrays();
  const GLboolean culling = glIsEnabled(GL_CULL_FACE), lighting = glIsEnabled(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  if (scale != 0) {
    PrintFacingCamera(font, text, x, y, z, scale);
  } else {
    PrintProjected(font, text, x, y, z);
  }
  if (culling) glEnable(GL_CULL_FACE);
  if (lighting) glEnable(GL_LIGHTING);
}

// Quads along the camera's right vector, cw x scale per cell, centred on (x, y, z).
void OpenGLZozezezi::PrintFacingCamera(int32_t font, std::string_view text, float x, float y,
                                       float z, float scale) {
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  if (TrueTypeFace* face = TrueTypeFontIn(font)) {
    const float r[3] = {m[0] * scale, m[4] * scale, m[8] * scale};
    const float u[3] = {m[1] * scale, m[5] * scale, m[9] * scale};
    PrintTrueTypeFacing(font, *face, text, {x, y, z}, r, u);
    return;
  }
  const int32_t id = kFontSlotBase + font;
  const SpriteRecord& s = sprites[size_t(id)];
  const FontGrid grid = FontGridFor(s.width, s.height);
  const CellMapper cell(s, grid);
  const float k = float(grid.cellWidth) * scale, half = float(text.size()) / 2;
  const float r[3] = {m[0] * k, m[4] * k, m[8] * k}, u[3] = {m[1] * k, m[5] * k, m[9] * k};
  float start[3] = {x - r[0] * half, y - r[1] * half, z - r[2] * half};
  ReserveInSteps(textVertices, 4 * text.size());
  textVertices.resize(4 * text.size());
  TextVertex* v = textVertices.data();
  for (char c : text) {
    const CellCoords t = cell(uint8_t(c));
    auto corner = [&](float a, float b, float sc, float tc) {
      return TextVertex{start[0] + a * r[0] + b * u[0], start[1] + a * r[1] + b * u[1],
                        start[2] + a * r[2] + b * u[2], sc, tc};
    };
    *v++ = corner(0, 0, t.s0, t.t0);
    *v++ = corner(1, 0, t.s1, t.t0);
    *v++ = corner(1, 1, t.s1, t.t1);
    *v++ = corner(0, 1, t.s0, t.t1);
    for (int i = 0; i < 3; ++i) start[i] += r[i];
  }
  Bind(id);
  SetFilter(GL_NEAREST);  // glyphs are never smoothed
  ApplyTextColour(false);
  DrawTextVertices(textVertices, GL_QUADS);
  RestoreTextColour(false);
}

// (x, y, z) through the GL matrices and viewport to the window, then flat text centred
// there (by font 0's cell width) under the 2D projection of the device's viewport.
void OpenGLZozezezi::PrintProjected(int32_t font, std::string_view text, float x, float y,
                                    float z) {
  GLfloat m[16], p[16];
  GLint view[4];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  glGetIntegerv(GL_VIEWPORT, view);
  float eye[4], clip[4];
  for (int i = 0; i < 4; ++i) eye[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
  for (int i = 0; i < 4; ++i) {
    clip[i] = p[i] * eye[0] + p[4 + i] * eye[1] + p[8 + i] * eye[2] + p[12 + i] * eye[3];
  }
  if (clip[3] == 0) return;
  const float nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
  const float wx = (nx + 1) * float(view[2]) / 2 + float(view[0]);
  const float wy = float(view[3]) - ((ny + 1) * float(view[3]) / 2 + float(view[1]));
  // A bitmap font is centred by font 0's cells, a TrueType font by its own line.
  const SpriteRecord& font0 = sprites[size_t(kFontSlotBase)];
  float width = float(font0.width >> 4) * float(text.size()), height = float(font0.height >> 3);
  if (TrueTypeFace* face = TrueTypeFontIn(font)) {
    width = float(TextWidth(font, text));
    height = float(face->LineHeight());
  }
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, viewportW, viewportH, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  PrintText(font, text, wx - width / 2 - float(view[0]), wy - height + float(view[1]), -nz);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

}  // namespace qrv
