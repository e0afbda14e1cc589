// Pixels from the frame buffer: grabbing a rectangle into a sprite (the transparent colour
// turned into alpha), single pixels, and saving the screen or a sprite as an image file.
#include <GL/gl.h>

#include <algorithm>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_upload.h"

namespace qrv {
namespace {

// The colour value of one pixel read from the selected read buffer.
uint32_t ReadPixel(int32_t windowX, int32_t windowY) {
  uint8_t p[4] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(windowX, windowY, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

}  // namespace

int32_t OpenGLZozezezi::SelectReadBuffer() {
  if (offscreenTarget >= 0 && surfaces[offscreenTarget].framebuffer.Usable()) {
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    return sprites[size_t(surfaces[offscreenTarget].spriteId)].height;
  }
  glReadBuffer(ScreenReadBuffer());
  return height;
}

int32_t OpenGLZozezezi::GetPixel(int32_t x, int32_t y) {
  ForgetGlState();
  if (contextAlive == 0) return 0;
  const int32_t h = SelectReadBuffer();
  return int32_t(ReadPixel(x, int32_t(int64_t(h) - 1 - y)));
}

// The transparent colour plotted at (4, 4) and read back, then the old pixel restored.
int32_t OpenGLZozezezi::ProbeTransparentColour() {
  ForgetGlState();
  if (transparentColour == 0 || contextAlive == 0) return 0;
  const int32_t h = SelectReadBuffer();
  const uint32_t old = ReadPixel(4, h - 5);
  PlotPixel(4, 4, transparentColour);
  const uint32_t stored = ReadPixel(4, h - 5);
  PlotPixel(4, 4, int32_t(old));
  const uint32_t r = stored & 0xFF, g = stored >> 8 & 0xFF, b = stored >> 16 & 0xFF;
  return int32_t(r << 24 | g << 16 | b << 8);
}

bool OpenGLZozezezi::GrabSprite(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  ForgetGlState();
  const int32_t maxSide = MaxTextureSide();
  if (!IsSpriteId(id) || contextAlive == 0 || w <= 0 || h <= 0 || w > maxSide || h > maxSide) {
    return false;
  }
  SpriteRecord& s = sprites[size_t(id)];
  s.frameWidth = s.frameHeight = 0;
  FreeAlphaMask(id);
  const int32_t tw = TextureSizeFor(w), th = TextureSizeFor(h);
  if (s.texture == 0 || s.texWidth != tw || s.texHeight != th) {
    if (s.texture != 0) glDeleteTextures(1, &s.texture);
    if (s.mipTexture != 0) glDeleteTextures(1, &s.mipTexture);
    s.texture = s.mipTexture = 0;
    SetUnpackState();
    NewTexture(s.texture, GL_LINEAR, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  }
  s = {s.texture,
       0,
       float(w) / float(tw),
       float(h) / float(th),
       int16_t(tw),
       int16_t(th),
       int16_t(w),
       int16_t(h),
       0,
       0};
  const int32_t screenHeight = SelectReadBuffer();
  const int32_t windowY = int32_t(int64_t(screenHeight) - y - h);
  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  if (alphaBits > 0) frameAlphaBits = alphaBits;
  if (frameAlphaBits > 0) {
    // The frame buffer's alpha becomes the sprite's alpha.
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, windowY, w, h);
    return true;
  }
  // Without alpha in the frame buffer, pixels that hold the transparent colour (as the
  // frame buffer stores it) become clear. The texels beyond the grab stay clear.
  grabBuffer.assign(size_t(tw) * size_t(th) * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, tw);
  glReadPixels(x, windowY, w, h, GL_BGRA, GL_UNSIGNED_BYTE, grabBuffer.data());
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  const uint32_t key = uint32_t(ProbeTransparentColour()) >> 8;
  for (size_t i = 0; i < grabBuffer.size(); i += 4) {
    const uint8_t* p = grabBuffer.data() + i;
    const uint32_t rgb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    if (rgb == key) grabBuffer[i + 3] = 0;
  }
  SetUnpackState();
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_BGRA, GL_UNSIGNED_BYTE, grabBuffer.data());
  Bind(-1);
  return true;
}

// The copy of the last presented frame, opaque, rows from the top (black before the first).
bool OpenGLZozezezi::SaveScreen(std::string_view name) {
  if (contextAlive == 0 || width <= 0 || height <= 0) return false;
  RgbaImage image;
  image.Resize(width, height);
  const int32_t w = std::min(width, presentedWidth), h = std::min(height, presentedHeight);
  for (int32_t row = 0; row < h; ++row) {
    const uint8_t* from = presentedRows.data() + size_t(presentedHeight - 1 - row) *
                                                     size_t(presentedWidth) * 4;
    std::copy_n(from, size_t(w) * 4, image.Row(row));
  }
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  return SaveImageFile(name, image);
}

bool OpenGLZozezezi::SaveSprite(std::string_view name, int32_t id) {
  RgbaImage image;
  return ReadSpriteImage(id, image) && SaveImageFile(name, image);
}

}  // namespace qrv
