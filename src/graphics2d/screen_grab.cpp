// Pixels from the frame buffer: grabbing a rectangle into a sprite (the transparent colour
// turned into alpha), single pixels, and saving the screen or a sprite as an image file.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/image_codec.h"
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

OpenGLZozezezi::ReadArea OpenGLZozezezi::SelectReadBuffer() {
  if (offscreenTarget >= 0 && surfaces[offscreenTarget].framebuffer.Usable()) {
    ChooseReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    const SpriteRecord& s = sprites[size_t(surfaces[offscreenTarget].spriteId)];
    return {s.width, s.height};
  }
  ChooseReadBuffer(ScreenReadBuffer());
  return {width, height};
}

// A pixel outside what is read is black: the coordinates never reach GL unclipped.
int32_t OpenGLZozezezi::GetPixel(int32_t x, int32_t y) {
  ForgetGlState();
  if (contextAlive == 0) return 0;
  const ReadArea area = SelectReadBuffer();
  const int64_t windowY = int64_t(area.height) - 1 - y;
  if (x < 0 || x >= area.width || windowY < 0 || windowY >= area.height) return 0;
  return int32_t(ReadPixel(x, int32_t(windowY)));
}

// The transparent colour plotted at (4, 4) and read back, then the old pixel restored;
// both plots replace the pixel whatever the blending in force.
int32_t OpenGLZozezezi::ProbeTransparentColour() {
  ForgetGlState();
  if (transparentColour == 0 || contextAlive == 0) return 0;
  const int32_t h = SelectReadBuffer().height;
  const bool blending = glIsEnabled(GL_BLEND) == GL_TRUE;
  glDisable(GL_BLEND);
  const uint32_t old = ReadPixel(4, h - 5);
  PlotPixel(4, 4, transparentColour);
  const uint32_t stored = ReadPixel(4, h - 5);
  PlotPixel(4, 4, int32_t(old));
  if (blending) glEnable(GL_BLEND);
  const uint32_t r = stored & 0xFF, g = stored >> 8 & 0xFF, b = stored >> 16 & 0xFF;
  return int32_t(r << 24 | g << 16 | b << 8);
}

// The part of the rectangle outside what is read becomes clear texels. All arithmetic on
// the caller's coordinates is 64-bit, so no sum can wrap before the clip.
bool OpenGLZozezezi::GrabSprite(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
  ForgetGlState();
  const int32_t maxSide = MaxTextureSide();
  if (!IsSpriteId(id) || contextAlive == 0 || w <= 0 || h <= 0 || w > maxSide || h > maxSide) {
    return false;
  }
  LeaveAtlas(id);  // the grab writes into a texture of the sprite's own
  SpriteRecord& s = sprites[size_t(id)];
  FreeAlphaMask(id);
  // The mipmapped copy would show the old picture: it goes whether the texture stays or not.
  if (s.mipTexture != 0) glDeleteTextures(1, &s.mipTexture);
  s.mipTexture = 0;
  const int32_t tw = TextureSizeFor(w), th = TextureSizeFor(h);
  if (s.texture == 0 || s.texWidth != tw || s.texHeight != th) {
    if (s.texture != 0) glDeleteTextures(1, &s.texture);
    s.texture = 0;
    SetUnpackState();
    NewTexture(s.texture, GL_LINEAR, GL_LINEAR);
    SpecifyRgbaTexture(0, tw, th, nullptr);
    StopIfGlOutOfMemory();
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
  // The rectangle in window coordinates (rows from the bottom), and the part of it that
  // lies inside what is read; texel (0, 0) is the rectangle's lower-left corner.
  const ReadArea area = SelectReadBuffer();
  const int64_t left = x, bottom = int64_t(area.height) - y - h;
  const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + w, area.width);
  const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + h, area.height);
  const bool inside = x0 < x1 && y0 < y1;
  const bool whole = x0 == left && y0 == bottom && x1 == left + w && y1 == bottom + h;
  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  if (alphaBits > 0) frameAlphaBits = alphaBits;
  glBindTexture(GL_TEXTURE_2D, s.texture);
  if (frameAlphaBits > 0 && whole) {
    // The frame buffer's alpha becomes the sprite's alpha.
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLint(x0), GLint(y0), w, h);
    Bind(-1);
    return true;
  }
  // Read back: pixels that hold the transparent colour (as the frame buffer stores it)
  // become clear, unless the frame buffer has alpha of its own. The texels beyond the
  // grab stay clear.
  AssignZeroed(grabBuffer, size_t(tw) * size_t(th) * 4);
  if (inside) {
    const size_t readW = size_t(x1 - x0), readH = size_t(y1 - y0);
    std::vector<uint8_t> read;
    AssignZeroed(read, readW * readH * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(GLint(x0), GLint(y0), GLsizei(readW), GLsizei(readH), GL_RGBA, GL_UNSIGNED_BYTE,
                 read.data());
    for (size_t row = 0; row < readH; ++row) {
      const size_t to = ((size_t(y0 - bottom) + row) * size_t(tw) + size_t(x0 - left)) * 4;
      std::memcpy(grabBuffer.data() + to, read.data() + row * readW * 4, readW * 4);
    }
  }
  if (frameAlphaBits == 0) {
    const uint32_t key = uint32_t(ProbeTransparentColour()) >> 8;
    for (size_t i = 0; i < grabBuffer.size(); i += 4) {
      const uint8_t* p = grabBuffer.data() + i;
      const uint32_t rgb = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
      if (rgb == key) grabBuffer[i + 3] = 0;
    }
  }
  SetUnpackState();
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tw, th, GL_RGBA, GL_UNSIGNED_BYTE, grabBuffer.data());
  Bind(-1);
  return true;
}

// The last presented frame, opaque, rows from the top (black before the first).
bool OpenGLZozezezi::SaveScreen(std::string_view name) {
  if (contextAlive == 0 || width <= 0 || height <= 0) return false;
  RgbaImage image = ReadPresentedFrame();
  for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  return SaveImageFile(name, image);
}

bool OpenGLZozezezi::SaveSprite(std::string_view name, int32_t id) {
  RgbaImage image;
  return ReadSpriteImage(id, image) && SaveImageFile(name, image);
}

}  // namespace qrv
