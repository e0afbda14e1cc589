// Screen-sized images made of textures: loaded from a file (the background) or grabbed
// from the screen, drawn as the first layer of a frame, and cleared.
#include <GL/gl.h>

#include <algorithm>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/image_codec.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_upload.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv {
namespace {

void DeleteTiles(TiledImage& image, bool contextAlive) {
  if (contextAlive) {
    for (auto& column : image.tiles) {
      for (TextureTile& tile : column) {
        if (tile.texture != 0) glDeleteTextures(1, &tile.texture);
      }
    }
  }
  image = TiledImage();
}

// A T x T texture for a grab, kept when the tile already has one of that size.
void BindGrabTexture(TextureTile& tile, int32_t side) {
  if (tile.texture != 0 && tile.texWidth == side && tile.texHeight == side) {
    glBindTexture(GL_TEXTURE_2D, tile.texture);
    return;
  }
  if (tile.texture != 0) glDeleteTextures(1, &tile.texture);
  SetUnpackState();
  NewTexture(tile.texture, GL_LINEAR, GL_LINEAR);
  SpecifyRgbaTexture(0, side, side, nullptr);
}

}  // namespace

// The tile side of a loaded image is at most 512, so that old drivers cope.
bool OpenGLZozezezi::LoadTiledImage(int32_t slot, std::string_view resolvedName) {
  ForgetGlState();
  RgbaImage image;
  if (!IsTiledImageSlot(slot) || contextAlive == 0 ||
      !LoadImageFile(image, resolvedName, kNoColourKey) || image.Empty()) {
    return false;
  }
  TiledImage& tiled = tiledImages[slot];
  DeleteTiles(tiled, true);
  const int32_t side = std::min(MaxTextureSide(), 512);
  for (int32_t j = 0; j < kMaxTiles && j * side < image.height; ++j) {
    int32_t i = 0;
    for (; i < kMaxTiles && i * side < image.width; ++i) {
      TextureTile& tile = tiled.tiles[i][j];
      if (!UploadTexture(image, i * side, j * side, side, side, tile.texture, nullptr, false,
                         false)) {
        DeleteTiles(tiled, true);
        return false;
      }
      tile.texWidth = tile.texHeight = tile.usedWidth = tile.usedHeight = side;
    }
    tiled.tilesX = std::max(tiled.tilesX, i);
    tiled.tilesY = j + 1;
  }
  return true;
}

// The whole screen into tiles as large as the driver allows (one tile when it can). The
// screen is read once and each tile takes its part: on software renderers that is several
// times faster than copying inside GL.
void OpenGLZozezezi::GrabTiledImage(int32_t slot) {
  ForgetGlState();
  if (!IsTiledImageSlot(slot) || contextAlive == 0 || width <= 0 || height <= 0) return;
  TiledImage& tiled = tiledImages[slot];
  const int32_t maxSide = MaxTextureSide();
  int32_t side = 128;
  while (side < std::max(width, height) && side < maxSide) side *= 2;
  const int32_t screenHeight = SelectReadBuffer().height;
  AssignZeroed(grabBuffer, size_t(width) * size_t(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, screenHeight - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
               grabBuffer.data());
  int32_t rows = 0, columns = 0;
  for (int32_t j = 0; j < kMaxTiles && j * side < height; ++j, ++rows) {
    columns = 0;
    for (int32_t i = 0; i < kMaxTiles && i * side < width; ++i, ++columns) {
      TextureTile& tile = tiled.tiles[i][j];
      const int32_t x = i * side, y = j * side;
      const int32_t u = std::min(side, width - x), v = std::min(side, height - y);
      BindGrabTexture(tile, side);
      SubImageFromRows(grabBuffer.data(), width, x, height - y - v, u, v);
      tile = {tile.texture, side, side, u, v};
    }
  }
  tiled.tilesX = columns;
  tiled.tilesY = rows;
  Bind(-1);
}

// Drawn with the current blending and alpha, without the alpha test, so that a cross-fade
// can blend two of them.
void OpenGLZozezezi::DrawTiledImage(int32_t slot) {
  if (!IsTiledImageSlot(slot) || tiledImages[slot].tilesX == 0) return;
  const TiledImage& tiled = tiledImages[slot];
  Bind(-1);  // before the alpha test goes off: unbinding restores what sprites skipped
  glDisable(GL_ALPHA_TEST);
  float x = 0;
  for (int32_t i = 0; i < tiled.tilesX; ++i) {
    float y = 0;
    for (int32_t j = 0; j < tiled.tilesY; ++j) {
      const TextureTile& tile = tiled.tiles[i][j];
      UseTexture(tile.texture);
      SetWrap(GL_CLAMP_TO_EDGE);
      ApplyFilters();
      const float uw = float(tile.usedWidth), uh = float(tile.usedHeight);
      const float s = uw / float(tile.texWidth), t = uh / float(tile.texHeight);
      const QuadVertex corners[4] = {
          {x, y + uh, 0, 0}, {x + uw, y + uh, s, 0}, {x + uw, y, s, t}, {x, y, 0, t}};
      DrawQuadFan(corners, true);
      y += float(tile.texHeight);
    }
    x += float(tiled.tiles[i][0].texWidth);
  }
  glEnable(GL_ALPHA_TEST);
  alphaTestSkipped = false;
  Bind(-1);
}

void OpenGLZozezezi::ClearTiledImage(int32_t slot) {
  ForgetGlState();
  if (IsTiledImageSlot(slot)) DeleteTiles(tiledImages[slot], contextAlive != 0);
}

void OpenGLZozezezi::LoadBackground(const RtString& name) {
  ClearError();
  RtString resolved;
  const char* reason = "no such file";
  if (ResolveMediaName(MainPack(), name, resolved, true)) {
    if (LoadTiledImage(0, resolved.View())) {
      DrawTiledImage(0);
      return;
    }
    reason = "not a BMP, PNG or JPEG image";
  }
  RecordError(3, {"LoadBackground", name.View(), reason});
  ClearTiledImage(0);
  ClearScreen(0);
}

void OpenGLZozezezi::ClearBackground(int32_t colour) {
  ClearTiledImage(0);
  ClearScreen(colour);
}

void OpenGLZozezezi::ReleaseFrameObjects() {
  ForgetGlState();
  if (offscreenTarget >= 0 && contextAlive != 0) UseSurface(-1);
  offscreenTarget = -1;
  // Without a context its objects are gone already.
  if (contextAlive != 0) {
    for (Surface& surface : surfaces) surface.framebuffer.Destroy();
    scaleTarget.Destroy();
    if (scaleTexture != 0) glDeleteTextures(1, &scaleTexture);
    scaleTexture = 0;
    windowScale = 1;
    quadBatch.DeleteBuffer();
    if (presentedTexture != 0) glDeleteTextures(1, &presentedTexture);
    if (presentedBuffer != 0) GlExt().glDeleteBuffersARB(1, &presentedBuffer);
    presentedTexture = presentedBuffer = 0;
    presentedWidth = presentedHeight = 0;
  }
  for (TiledImage& tiled : tiledImages) DeleteTiles(tiled, contextAlive != 0);
  DeleteShaders();
}

}  // namespace qrv
