// Polygons built vertex by vertex: one process-wide vertex list, drawn as a fan, a list
// of triangles or a strip. Strips can be broken and joined by zero-area triangles.
#include <GL/gl.h>

#include <vector>

#include "graphics2d/opengl_device.h"
#include "graphics2d/vertex_growth.h"

namespace qrv {
namespace {

struct PolygonVertex {
  float x, y, s, t;
  uint8_t red, green, blue, alpha;
};
static_assert(sizeof(PolygonVertex) == 20);

struct PolygonList {
  std::vector<PolygonVertex> entries;
  int32_t mode = 0;  // 0 fan, 1 triangles, 2 strip
  bool coloursUsed = false;
  bool stripBreakPending = false;

  void Reserve(size_t n) { ReserveInSteps(entries, n); }
};

PolygonList& Polygon() {
  static PolygonList list;
  return list;
}

}  // namespace

void OpenGLZozezezi::BeginPolygon(int32_t id, int32_t mode) {
  Bind(id);
  PolygonList& list = Polygon();
  list.entries.clear();
  list.Reserve(512);
  list.coloursUsed = false;
  list.stripBreakPending = false;
  list.mode = mode;
}

void OpenGLZozezezi::AddPolygonVertex(float x, float y, float tx, float ty, int32_t colour) {
  PolygonList& list = Polygon();
  list.Reserve(list.entries.size() + (list.stripBreakPending ? 1 : 0) + 1);
  PolygonVertex v{x, y, 0, 0, 255, 255, 255, 255};
  if (boundSprite >= 0) {
    const SpriteRecord& s = sprites[size_t(boundSprite)];
    v.s = tx / float(s.texWidth);
    v.t = (float(s.height) - ty) / float(s.texHeight);
  }
  if (colour != 0xFFFFFF) {
    list.coloursUsed = true;
    v.red = uint8_t(colour);
    v.green = uint8_t(colour >> 8);
    v.blue = uint8_t(colour >> 16);
  }
  if (colour == transparentColour) {
    v.alpha = 0;
  } else if (alpha != 1.0) {
    v.alpha = uint8_t(alpha * 255);
  }
  list.entries.push_back(v);
  if (list.stripBreakPending) {
    list.entries.push_back(v);
    list.stripBreakPending = false;
  }
}

void OpenGLZozezezi::BreakPolygonStrip() {
  PolygonList& list = Polygon();
  if (list.entries.empty() || list.stripBreakPending) return;
  list.Reserve(list.entries.size() + 1);
  list.entries.push_back(list.entries.back());
  list.stripBreakPending = true;
}

int32_t OpenGLZozezezi::PolygonVertexCount() const {
  return int32_t(Polygon().entries.size());
}

void OpenGLZozezezi::EndPolygon() {
  PolygonList& list = Polygon();
  static const GLenum kModes[] = {GL_TRIANGLE_FAN, GL_TRIANGLES, GL_TRIANGLE_STRIP};
  if (list.mode < 0 || list.mode > 2 || list.entries.empty()) return;
  // The polygon takes the bound sprite's texture of its own, where its last draw took the
  // sprite's atlas page, and the alpha test and blending its alpha mode asks for, which an
  // opaque sprite drawn last may have switched off.
  UseTransparency(true);
  if (boundSprite >= 0 && sprites[size_t(boundSprite)].pageTexture != 0 &&
      unitState.texture == int64_t(sprites[size_t(boundSprite)].pageTexture)) {
    GiveOwnTexture(boundSprite);
    UseTexture(sprites[size_t(boundSprite)].texture);
    SetWrap(GL_REPEAT);
  }
  HandOverArrays();
  const PolygonVertex* first = list.entries.data();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->x);
  if (boundSprite >= 0) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonVertex), &first->s);
    ApplyFilters();
  }
  const bool colours = list.coloursUsed || alpha != 1.0;
  if (colours) {
    list.coloursUsed = true;
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(PolygonVertex), &first->red);
  }
  glDrawArrays(kModes[list.mode], 0, GLsizei(list.entries.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  if (colours) {
    glColor4f(1, 1, 1, float(alpha));
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_FLAT);
    glDisable(GL_DITHER);
  }
}

}  // namespace qrv
