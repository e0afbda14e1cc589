// The last presented frame, kept with GL: flip reads the screen into a pixel buffer object
// before the swap (the driver fills it while the program goes on), or copies it into a
// texture where the driver has no pixel buffers; only SaveScreen reads the copy out.
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_readback.h"

namespace qrv {

namespace {

size_t FrameBytes(int32_t w, int32_t h) {
  return size_t(w) * size_t(h) * 4;
}

RgbaImage Black(int32_t width, int32_t height) {
  RgbaImage image;
  image.Resize(width, height);
  return image;
}

// Rows from the bottom, `stride` pixels apart, into an image at the game size with rows from
// the top; what the rows do not cover stays black.
RgbaImage FromBottomUp(const uint8_t* rows, int32_t stride, int32_t w, int32_t h,
                       int32_t width, int32_t height) {
  RgbaImage image = Black(width, height);
  const int32_t shownW = std::min(width, w), shownH = std::min(height, h);
  for (int32_t row = 0; row < shownH; ++row) {
    const uint8_t* from = rows + size_t(h - 1 - row) * size_t(stride) * 4;
    std::copy_n(from, size_t(shownW) * 4, image.Row(row));
  }
  return image;
}

}  // namespace

void OpenGLZozezezi::KeepPresentedFrame() {
  ChooseReadBuffer(ScreenReadBuffer());
  const GlExtensions& gl = GlExt();
  if (gl.packBuffers) {
    if (presentedBuffer == 0) gl.glGenBuffersARB(1, &presentedBuffer);
    gl.glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, presentedBuffer);
    if (presentedWidth != width || presentedHeight != height) {
      gl.glBufferDataARB(GL_PIXEL_PACK_BUFFER_ARB, GLsizeiptrARB(FrameBytes(width, height)),
                         nullptr, GL_STREAM_READ_ARB);
      presentedWidth = width;
      presentedHeight = height;
    }
    // Four bytes a pixel: every row starts aligned whatever the pack alignment.
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    gl.glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    return;
  }
  const int32_t textureW = TextureSizeFor(width), textureH = TextureSizeFor(height);
  if (presentedTexture == 0) glGenTextures(1, &presentedTexture);
  glBindTexture(GL_TEXTURE_2D, presentedTexture);
  if (TextureSizeFor(presentedWidth) != textureW || TextureSizeFor(presentedHeight) != textureH ||
      presentedWidth == 0) {
    SpecifyRgbaTexture(0, textureW, textureH, nullptr);
  }
  presentedWidth = std::min(width, textureW);
  presentedHeight = std::min(height, textureH);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, presentedWidth, presentedHeight);
}

RgbaImage OpenGLZozezezi::ReadPresentedFrame() {
  if (presentedWidth <= 0 || presentedHeight <= 0) return Black(width, height);
  ForgetGlState();
  if (presentedBuffer != 0) {
    const GlExtensions& gl = GlExt();
    gl.glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, presentedBuffer);
    const auto* rows =
        static_cast<const uint8_t*>(gl.glMapBufferARB(GL_PIXEL_PACK_BUFFER_ARB, GL_READ_ONLY_ARB));
    RgbaImage image = rows != nullptr ? FromBottomUp(rows, presentedWidth, presentedWidth,
                                                     presentedHeight, width, height)
                                      : Black(width, height);
    if (rows != nullptr) gl.glUnmapBufferARB(GL_PIXEL_PACK_BUFFER_ARB);
    gl.glBindBufferARB(GL_PIXEL_PACK_BUFFER_ARB, 0);
    return image;
  }
  if (presentedTexture == 0) return Black(width, height);
  const int32_t textureW = TextureSizeFor(presentedWidth);
  const int32_t textureH = TextureSizeFor(presentedHeight);
  std::vector<uint8_t> texels(FrameBytes(textureW, textureH));
  if (!ReadTextureTexels(presentedTexture, textureW, textureH, texels.data())) {
    return Black(width, height);
  }
  return FromBottomUp(texels.data(), textureW, presentedWidth, presentedHeight, width, height);
}

}  // namespace qrv
