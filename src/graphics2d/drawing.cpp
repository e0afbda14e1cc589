// Immediate-mode drawing on the device: the bind step, alpha mode and smoothing, sprites
// plain, stretched, scaled, rotated and by animation frame, pixels, lines, rectangles and
// ellipses.
// Plain, stretched, scaled and frame sprites are queued in the batch (draw_batching.cpp);
// everything else draws what is queued first, then itself at once.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "graphics2d/ellipse_spans.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_parameters.h"
#include "graphics2d/vertex_growth.h"

namespace qrv {
namespace {

// A double argument truncated to an int32, saturating instead of overflowing.
int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  return int32_t(std::clamp(std::trunc(v), double(std::numeric_limits<int32_t>::min()),
                            double(std::numeric_limits<int32_t>::max())));
}

// The texture rectangle of one animation frame; false when the sprite has no frame size.
struct FrameRect {
  float s0, s1, t0, t1;
  int32_t fw, fh;
  bool inside;  // within the image: nothing wrapped around its texture
};

bool FrameRectOf(const SpriteRecord& s, int32_t frame, FrameRect& r) {
  if (s.frameWidth == 0 || s.frameHeight == 0) return false;
  r.fw = s.frameWidth;
  r.fh = s.frameHeight;
  const int32_t perRow = s.width / r.fw;
  const int32_t row = perRow == 0 ? 0 : frame / perRow;
  const int32_t column = perRow == 0 ? frame : frame % perRow;
  r.s0 = float(column) * float(r.fw) / float(s.texWidth);
  r.s1 = r.s0 + float(r.fw) / float(s.texWidth);
  r.t0 = (float(s.height) - float(r.fh) * float(int64_t(row) + 1)) / float(s.texHeight);
  r.t1 = r.t0 + float(r.fh) / float(s.texHeight);
  r.inside = column >= 0 && row >= 0 && (int64_t(column) + 1) * r.fw <= s.width &&
             (int64_t(row) + 1) * r.fh <= s.height;
  return true;
}

// Texture coordinates of a sprite's own texture, on the texture it is drawn from.
struct PageMapping {
  float offsetS, offsetT, scaleS, scaleT;
  float S(float s) const { return offsetS + s * scaleS; }
  float T(float t) const { return offsetT + t * scaleT; }
};

PageMapping MappingFor(const SpriteRecord& s, bool fromPage) {
  if (!fromPage || s.pageTexture == 0) return {0, 0, 1, 1};
  return {s.pageS, s.pageT, s.pageScaleS, s.pageScaleT};
}

}  // namespace

void OpenGLZozezezi::Bind(int32_t first, int32_t second, bool mipmapped) {
  BindSprite(first, second, mipmapped, SpriteUse::kBound);
}

// Switching off is worth it only where no draw call is cut short by it: while quads wait
// under the test (or blending), an opaque sprite joins them under it, with the same pixels.
void OpenGLZozezezi::UseTransparency(bool needed) {
  const bool plain = !needed && !in3DMode && shaders.current < 0;
  const bool batchOn = !quadBatch.Empty();
  const bool skipTest = plain && alphaModeZero && (alphaTestSkipped || !batchOn);
  const bool skipBlend = plain && fullAlphaBlending && (blendSkipped || !batchOn);
  SkipCapability(GL_ALPHA_TEST, skipTest, alphaTestSkipped);
  SkipCapability(GL_BLEND, skipBlend, blendSkipped);
}

void OpenGLZozezezi::SkipCapability(uint32_t capability, bool skip, bool& skipped) {
  if (skip == skipped) return;
  DrawPendingQuads();
  if (skip) {
    glDisable(capability);
  } else {
    glEnable(capability);
  }
  skipped = skip;
}

void OpenGLZozezezi::BindSprite(int32_t first, int32_t second, bool mipmapped, SpriteUse use) {
  const bool fromPage =
      use == SpriteUse::kExact && IsSpriteId(first) && sprites[size_t(first)].pageTexture != 0;
  if (!fromPage) {
    if (IsSpriteId(first)) GiveOwnTexture(first);
    if (IsSpriteId(second)) GiveOwnTexture(second);
  }
  readySprite = -1;
  boundSprite = IsSpriteId(first) ? first : -1;
  const auto activeTexture = GlExt().glActiveTextureARB;
  const bool both = boundSprite >= 0 && IsSpriteId(second);
  // Unit 1 is touched only when it is or was in use: switching units makes the driver
  // flush the vertices queued so far, which would cost every sprite a draw call of its own.
  if (activeTexture != nullptr && (both || secondUnitInUse)) {
    DrawPendingQuads();
    secondUnitInUse = both;
    activeTexture(GL_TEXTURE1_ARB);
    if (both) {
      glBindTexture(GL_TEXTURE_2D, sprites[size_t(first)].texture);
      glEnable(GL_TEXTURE_2D);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
      TextureParameters(sprites[size_t(first)].texture).wrap = GL_REPEAT;
    } else {
      glDisable(GL_TEXTURE_2D);
    }
    activeTexture(GL_TEXTURE0_ARB);
  }
  if (boundSprite < 0) {
    UseTransparency(true);
    SetTexturing(false);
    if (activeTexture == nullptr) glEnable(GL_COLOR_MATERIAL);
    return;
  }
  const SpriteRecord& s = sprites[size_t(activeTexture != nullptr && both ? second : first)];
  // A page's wrap mode never shows: texel-for-pixel drawing reads the image's texels only.
  if (fromPage) {
    UseTexture(s.pageTexture);
  } else {
    UseTexture(mipmapped ? s.mipTexture : s.texture);
    SetWrap(use == SpriteUse::kDrawn ? GL_CLAMP_TO_EDGE : GL_REPEAT);
  }
  const bool opaque = use == SpriteUse::kDrawn      ? s.opaque
                      : use == SpriteUse::kExact    ? s.opaqueInside
                      : use == SpriteUse::kExactOwn ? s.opaque
                                                    : false;
  UseTransparency(!opaque);
}

void OpenGLZozezezi::ApplyFilters() {
  SetFilter(smoothing != 0 ? GL_LINEAR : GL_NEAREST);
}

// A sprite's texture rectangle spans as many texels as the quad spans pixels, and its
// corners sit on whole pixels, so every pixel centre samples a texel centre.
void OpenGLZozezezi::ApplyExactFilters() {
  if (pixelProjection) {
    SetFilter(GL_NEAREST);
  } else {
    ApplyFilters();
  }
}

void OpenGLZozezezi::SetAlphaMode(double factor) {
  DrawPendingQuads();
  glEnable(GL_BLEND);
  if (factor != 0) {
    glDisable(GL_ALPHA_TEST);
    glBlendFunc(GL_SRC_ALPHA, factor > 0 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
  } else {
    glDisable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
  }
  alpha = factor == 0 || std::isnan(factor) ? 1.0 : std::min(std::fabs(factor), 1.0);
  glColor4f(1, 1, 1, float(alpha));
  heldState.opaqueMode = factor == 0;
  alphaModeZero = factor == 0;
  fullAlphaBlending = factor < 0 && alpha == 1.0;
  alphaTestSkipped = false;
  blendSkipped = false;
}

void OpenGLZozezezi::SetSmoothing(int32_t flag) {
  smoothing = flag != 0 ? 1 : 0;
  readySprite = -1;
}

// The bind step and the exact-sampling filters of plain sprites and frames; skipped while
// the same sprite is drawn again with nothing changed in between.
// Only under the 2D projection, and with the whole frame inside the image, does the
// drawing read nothing but the image's own texels, at their centres; elsewhere the filters
// may reach past the image, where its own texture wraps.
bool OpenGLZozezezi::BindForExactDrawing(int32_t id, bool inside) {
  const bool imageOnly = inside && pixelProjection;
  if (id == readySprite && imageOnly == readyImageOnly) return imageOnly;
  BindSprite(id, -1, false, imageOnly ? SpriteUse::kExact : SpriteUse::kExactOwn);
  ApplyExactFilters();
  readySprite = id;
  readyImageOnly = imageOnly;
  return imageOnly;
}

void OpenGLZozezezi::ClearScreen(int32_t colour) {
  DrawPendingQuads();
  glClearColor(float(colour & 0xFF) / 255.0f, float((colour >> 8) & 0xFF) / 255.0f,
               float((colour >> 16) & 0xFF) / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void OpenGLZozezezi::DrawCorners(std::span<const QuadVertex> corners, uint32_t mode,
                                 bool textured) {
  HandOverArrays();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &corners[0].x);
  if (textured) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), &corners[0].s);
  }
  glDrawArrays(mode, 0, GLsizei(corners.size()));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void OpenGLZozezezi::DrawQuadFan(const QuadVertex (&corners)[4], bool textured) {
  DrawCorners(corners, GL_TRIANGLE_FAN, textured);
}

// One quad over (x0, y0)-(x1, y1) with the texture rectangle (s0, t0)-(s1, t1), corners in
// the order GL_QUADS draws them; the image's top edge is at t1.
static void SetQuadCorners(QuadVertex* c, float x0, float y0, float x1, float y1, float s0,
                           float t0, float s1, float t1) {
  c[0] = {x1, y0, s1, t1};
  c[1] = {x0, y0, s0, t1};
  c[2] = {x0, y1, s0, t0};
  c[3] = {x1, y1, s1, t0};
}

void OpenGLZozezezi::QueueFan(const QuadVertex (&corners)[4]) {
  std::copy(corners, corners + 4, quadBatch.Append(QuadShape::kFan));
}

bool OpenGLZozezezi::OutsideDrawingArea(double x0, double y0, double x1, double y1) const {
  return pixelProjection && (std::max(x0, x1) <= 0 || std::min(x0, x1) >= viewportW ||
                             std::max(y0, y1) <= 0 || std::min(y0, y1) >= viewportH);
}

void OpenGLZozezezi::DrawSprite(int32_t id, int32_t x, int32_t y) {
  if (!IsSpriteId(id)) return;
  const SpriteRecord& s = sprites[size_t(id)];
  if (OutsideDrawingArea(x, y, double(x) + s.width, double(y) + s.height)) return;
  const PageMapping m = MappingFor(s, BindForExactDrawing(id, true));
  SetQuadCorners(quadBatch.Append(QuadShape::kQuad), float(x), float(y),
                 float(int64_t(x) + s.width), float(int64_t(y) + s.height), m.S(0), m.T(0),
                 m.S(s.uMax), m.T(s.vMax));
}

void OpenGLZozezezi::DrawSpriteStretched(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!IsSpriteId(id)) return;
  const SpriteRecord& s = sprites[size_t(id)];
  if (OutsideDrawingArea(x, y, double(x) + w, double(y) + h)) return;
  BindSprite(id, -1, false, SpriteUse::kDrawn);
  ApplyFilters();
  const float x0 = float(x), y0 = float(y);
  const float x1 = float(int64_t(x) + w), y1 = float(int64_t(y) + h);
  const QuadVertex corners[4] = {
      {x0, y1, 0, 0}, {x1, y1, s.uMax, 0}, {x1, y0, s.uMax, s.vMax}, {x0, y0, 0, s.vMax}};
  QueueFan(corners);
}

void OpenGLZozezezi::DrawSpriteScaled(int32_t id, int32_t x, int32_t y, double sx, double sy) {
  if (!IsSpriteId(id)) return;
  const double w = sprites[size_t(id)].width, h = sprites[size_t(id)].height;
  DrawSpriteStretched(id, TruncToInt(x - (sx * w - w) / 2), TruncToInt(y - (sy * h - h) / 2),
                      TruncToInt(sx * w), TruncToInt(sy * h));
}

void OpenGLZozezezi::DrawSpriteRotated(int32_t id, float x, float y, float angle, float zoom) {
  if (!IsSpriteId(id)) return;
  const SpriteRecord& s = sprites[size_t(id)];
  const float hw = float(s.width) * zoom / 2, hh = float(s.height) * zoom / 2;
  const float s0 = 0.5f / float(s.texWidth), s1 = (float(s.width) - 0.5f) / float(s.texWidth);
  const float t0 = 0.5f / float(s.texHeight), t1 = (float(s.height) - 0.5f) / float(s.texHeight);
  BindSprite(id, -1, false, SpriteUse::kDrawn);
  DrawPendingQuads();
  glPushMatrix();
  glTranslatef(x + float(s.width >> 1), y + float(s.height >> 1), 0);
  glRotatef(angle, 0, 0, -1);
  ApplyFilters();
  const QuadVertex corners[4] = {
      {-hw, hh, s0, t0}, {hw, hh, s1, t0}, {hw, -hh, s1, t1}, {-hw, -hh, s0, t1}};
  DrawQuadFan(corners, true);
  glPopMatrix();
}

void OpenGLZozezezi::DrawFrame(int32_t id, int32_t frame, int32_t x, int32_t y) {
  FrameRect r;
  if (!IsSpriteId(id) || !FrameRectOf(sprites[size_t(id)], frame, r)) return;
  if (OutsideDrawingArea(x, y, double(x) + r.fw, double(y) + r.fh)) return;
  const PageMapping m = MappingFor(sprites[size_t(id)], BindForExactDrawing(id, r.inside));
  SetQuadCorners(quadBatch.Append(QuadShape::kQuad), float(x), float(y), float(int64_t(x) + r.fw),
                 float(int64_t(y) + r.fh), m.S(r.s0), m.T(r.t0), m.S(r.s1), m.T(r.t1));
}

void OpenGLZozezezi::DrawFrameStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t w,
                                        int32_t h) {
  FrameRect r;
  if (!IsSpriteId(id) || !FrameRectOf(sprites[size_t(id)], frame, r)) return;
  // The far edges reach a little past the last pixel so that no seam shows between tiles.
  const float x0 = float(x), y0 = float(y);
  const float x1 = float(int64_t(x) + w) + 0.1f, y1 = float(int64_t(y) + h) + 0.1f;
  if (OutsideDrawingArea(x0, y0, x1, y1)) return;
  BindSprite(id, -1, false, SpriteUse::kDrawn);
  ApplyFilters();
  const QuadVertex corners[4] = {
      {x0, y0, r.s0, r.t1}, {x0, y1, r.s0, r.t0}, {x1, y1, r.s1, r.t0}, {x1, y0, r.s1, r.t1}};
  QueueFan(corners);
}

void OpenGLZozezezi::DrawFrameRotated(int32_t id, int32_t frame, float x, float y, float angle,
                                      float zoom) {
  FrameRect r;
  if (!IsSpriteId(id) || !FrameRectOf(sprites[size_t(id)], frame, r)) return;
  const SpriteRecord& s = sprites[size_t(id)];
  const float s0 = r.s0 + 0.5f / float(s.texWidth), s1 = r.s1 - 0.5f / float(s.texWidth);
  const float t0 = r.t0 + 0.5f / float(s.texHeight), t1 = r.t1 - 0.5f / float(s.texHeight);
  const float cx = x + float(r.fw / 2), cy = y + float(r.fh / 2);
  const float hw = float(r.fw) * zoom * 0.5f, hh = float(r.fh) * zoom * 0.5f;
  const float radians = angle * 0.017453292f, c = std::cos(radians), sn = std::sin(radians);
  auto corner = [&](float dx, float dy, float u, float v) {
    return QuadVertex{cx + dx * c + dy * sn, cy - dx * sn + dy * c, u, v};
  };
  BindSprite(id, -1, false, SpriteUse::kDrawn);
  ApplyFilters();
  const QuadVertex corners[4] = {corner(-hw, -hh, s0, t1), corner(-hw, hh, s0, t0),
                                 corner(hw, hh, s1, t0), corner(hw, -hh, s1, t1)};
  QueueFan(corners);
}

// --- Primitives ----------------------------------------------------------------------

void OpenGLZozezezi::BeginPrimitive(int32_t colour) {
  DrawPendingQuads();
  Bind(-1);  // before the alpha test goes off: unbinding restores what sprites skipped
  glDisable(GL_ALPHA_TEST);
  const GLubyte a = colour == transparentColour ? 0 : GLubyte(alpha * 255);
  glColor4ub(GLubyte(colour), GLubyte(colour >> 8), GLubyte(colour >> 16), a);
  // Integer coordinates then hit pixel centres.
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glTranslatef(0.375f, 0.375f, 0);
  glMatrixMode(GL_MODELVIEW);
}

void OpenGLZozezezi::EndPrimitive() {
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glColor4f(1, 1, 1, float(alpha));
  glEnable(GL_ALPHA_TEST);
  alphaTestSkipped = false;
}

void OpenGLZozezezi::PlotPixel(int32_t x, int32_t y, int32_t colour) {
  BeginPrimitive(colour);
  glBegin(GL_POINTS);
  glVertex2i(x, y);
  glEnd();
  EndPrimitive();
}

void OpenGLZozezezi::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
  BeginPrimitive(colour);
  glBegin(GL_LINES);
  glVertex2i(x1, y1);
  glVertex2i(x2, y2);
  glEnd();
  // GL leaves a line's last pixel out; the end point is always set.
  glBegin(GL_POINTS);
  glVertex2i(x2, y2);
  glEnd();
  EndPrimitive();
}

void OpenGLZozezezi::FillRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  int64_t left = x, top = y, width = w, height = h;
  if (width < 0) left += width + 1, width = -width;
  if (height < 0) top += height + 1, height = -height;
  BeginPrimitive(colour);
  const float x0 = float(left), y0 = float(top);
  const float x1 = float(left + width), y1 = float(top + height);
  const QuadVertex corners[4] = {{x0, y1, 0, 0}, {x1, y1, 0, 0}, {x1, y0, 0, 0}, {x0, y0, 0, 0}};
  DrawQuadFan(corners, false);
  EndPrimitive();
}

// The shape goes as 1-pixel-high quads, one per run, which cover exactly the pixels of the
// run as FillRect's quad does; the runs never overlap, so blending touches each pixel once.
// Only rows the viewport shows are worked out, so any radius costs at most their number.
void OpenGLZozezezi::DrawEllipse(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t colour,
                                 int32_t filled) {
  EllipseSpans(x, y, rx, ry, filled != 0, viewportW, viewportH, shapeSpans);
  if (shapeSpans.empty()) return;
  shapeCorners.clear();
  ReserveInSteps(shapeCorners, shapeSpans.size() * 4);
  for (const PixelSpan& run : shapeSpans) {
    const float x0 = float(run.x0), x1 = float(int64_t(run.x1) + 1);
    const float y0 = float(run.y), y1 = float(int64_t(run.y) + 1);
    shapeCorners.insert(shapeCorners.end(),
                        {{x0, y1, 0, 0}, {x1, y1, 0, 0}, {x1, y0, 0, 0}, {x0, y0, 0, 0}});
  }
  BeginPrimitive(colour);
  DrawCorners(shapeCorners, GL_QUADS, false);
  EndPrimitive();
}

}  // namespace qrv
