// The last presented frame, kept on the GPU: flip copies the screen into a texture before
// the swap, and only SaveScreen reads it back.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "graphics2d/opengl_device.h"

namespace qrv {

void OpenGLZozezezi::KeepPresentedFrame() {
  const int32_t textureW = TextureSizeFor(width), textureH = TextureSizeFor(height);
  if (presentedTexture == 0) glGenTextures(1, &presentedTexture);
  glBindTexture(GL_TEXTURE_2D, presentedTexture);
  if (TextureSizeFor(presentedWidth) != textureW || TextureSizeFor(presentedHeight) != textureH ||
      presentedWidth == 0) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureW, textureH, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
  }
  presentedWidth = std::min(width, textureW);
  presentedHeight = std::min(height, textureH);
  glReadBuffer(ScreenReadBuffer());
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, presentedWidth, presentedHeight);
}

RgbaImage OpenGLZozezezi::ReadPresentedFrame() {
  RgbaImage image;
  image.Resize(width, height);
  if (presentedTexture == 0 || presentedWidth <= 0 || presentedHeight <= 0) return image;
  ForgetGlState();
  const int32_t textureW = TextureSizeFor(presentedWidth);
  const int32_t textureH = TextureSizeFor(presentedHeight);
  std::vector<uint8_t> texels(size_t(textureW) * size_t(textureH) * 4);
  glBindTexture(GL_TEXTURE_2D, presentedTexture);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  const int32_t w = std::min(width, presentedWidth), h = std::min(height, presentedHeight);
  for (int32_t row = 0; row < h; ++row) {
    const uint8_t* from = texels.data() + size_t(presentedHeight - 1 - row) * size_t(textureW) * 4;
    std::copy_n(from, size_t(w) * 4, image.Row(row));
  }
  return image;
}

}  // namespace qrv
