// How an RGBA image becomes a texture: power-of-two size, vertical flip, edge-colour fill
// of transparent texels, the optional normal-map conversion and the mipmapped square copy.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/image_codec.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_parameters.h"
#include "graphics2d/texture_upload.h"
#include "quorvia/frame.h"

namespace qrv {
namespace {

// Copies the region (x, y, w, h) of the image into texel rows counted from the bottom.
void CopyFlipped(const RgbaImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                 TexelBuffer& t) {
  const int32_t left = std::max(x, 0), right = std::min(image.width, x + w);
  const int32_t top = std::max(y, 0), bottom = std::min(image.height, y + h);
  if (right <= left) return;
  for (int32_t py = top; py < bottom; ++py) {
    std::memcpy(t.At(left - x, y + h - 1 - py), image.Row(py) + size_t(left) * 4,
                size_t(right - left) * 4);
  }
}

// Transparent texels take the average colour of their opaque neighbours, so that linear
// filtering does not pull dark fringes into a sprite's edges. Only neighbours strictly
// inside the buffer count. Alpha never changes, so the scan may run in place.
void FillEdgeColours(TexelBuffer& t) {
  for (int32_t row = 0; row < t.height; ++row) {
    for (int32_t column = 0; column < t.width; ++column) {
      uint8_t* texel = t.At(column, row);
      if (texel[3] != 0) continue;
      int sum[3] = {0, 0, 0}, count = 0;
      for (int32_t r = std::max(row - 1, 1); r <= std::min(row + 1, t.height - 2); ++r) {
        for (int32_t c = std::max(column - 1, 1); c <= std::min(column + 1, t.width - 2); ++c) {
          const uint8_t* n = t.At(c, r);
          if ((r == row && c == column) || n[3] == 0) continue;
          for (int i = 0; i < 3; ++i) sum[i] += n[i];
          ++count;
        }
      }
      for (int i = 0; i < 3; ++i) texel[i] = uint8_t(count ? sum[i] / count : 0);
    }
  }
}

// Halves the buffer in place, averaging the texels that fold together.
void Halve(TexelBuffer& t, bool columns, bool rows) {
  const int32_t w = columns ? t.width / 2 : t.width, h = rows ? t.height / 2 : t.height;
  const int32_t dc = columns ? 1 : 0, dr = rows ? 1 : 0;
  for (int32_t row = 0; row < h; ++row) {
    for (int32_t column = 0; column < w; ++column) {
      const int32_t c = column << dc, r = row << dr;
      const uint8_t* a = t.At(c, r);
      const uint8_t* b = t.At(c + dc, r);
      const uint8_t* d = t.At(c, r + dr);
      const uint8_t* e = t.At(c + dc, r + dr);
      uint8_t* out = t.bytes.data() + (size_t(row) * size_t(w) + size_t(column)) * 4;
      for (int i = 0; i < 4; ++i) {
        out[i] = columns && rows ? uint8_t((a[i] + b[i] + d[i] + e[i] + 2) >> 2)
                                 : uint8_t((a[i] + (columns ? b[i] : d[i])) >> 1);
      }
    }
  }
  t.width = w;
  t.height = h;
}

}  // namespace

// The mipmapped square copy: squared by halving the longer side, then every level down
// to 1 x 1.
void UploadMipChain(TexelBuffer& t, uint32_t& slot) {
  SetUnpackState();
  NewTexture(slot, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
  while (t.width > t.height) Halve(t, true, false);
  while (t.height > t.width) Halve(t, false, true);
  for (GLint level = 0;; ++level) {
    SpecifyRgbaTexture(level, t.width, t.height, t.bytes.data());
    if (t.width == 1) break;
    Halve(t, true, true);
  }
}

void SetUnpackState() { glPixelStorei(GL_UNPACK_ALIGNMENT, 4); }

void SpecifyRgbaTexture(int32_t level, int32_t width, int32_t height, const void* texels) {
  const GLint format = GlExt().openGlEs ? GL_RGBA : GL_RGBA8;
  glTexImage2D(GL_TEXTURE_2D, level, format, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

void SubImageFromRows(const uint8_t* rows, int32_t rowWidth, int32_t x, int32_t y, int32_t w,
                      int32_t h) {
  const uint8_t* first = rows + (size_t(y) * size_t(rowWidth) + size_t(x)) * 4;
  if (w == rowWidth) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, first);
    return;
  }
  std::vector<uint8_t> tight;
  AssignZeroed(tight, size_t(w) * size_t(h) * 4);
  for (int32_t row = 0; row < h; ++row) {
    std::memcpy(tight.data() + size_t(row) * size_t(w) * 4,
                first + size_t(row) * size_t(rowWidth) * 4, size_t(w) * 4);
  }
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, tight.data());
}

void NewTexture(uint32_t& slot, int32_t magFilter, int32_t minFilter) {
  glGenTextures(1, &slot);
  glBindTexture(GL_TEXTURE_2D, slot);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  RecordNewTexture(slot, GL_REPEAT, magFilter == minFilter ? magFilter : 0);
}

void StopIfGlOutOfMemory() {
  bool outOfMemory = false;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    outOfMemory = outOfMemory || error == GL_OUT_OF_MEMORY;
  }
  if (outOfMemory) ErrorStop(7);
}

int32_t MaxTextureSide() {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  return std::clamp<int32_t>(max, 16, kTextureSideLimit);
}

void MakeNormalMap(uint8_t* texels, int32_t w, int32_t h) {
  std::vector<uint8_t> out;
  AssignZeroed(out, size_t(w) * size_t(h) * 4);
  auto height = [&](int32_t x, int32_t y) {
    x = (x + w) % w;
    y = (y + h) % h;
    return texels[(size_t(y) * size_t(w) + size_t(x)) * 4 + 2] / 255.0;
  };
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const double a = height(x - 1, y + 1), b = height(x, y + 1), c = height(x + 1, y + 1);
      const double d = height(x - 1, y - 1), e = height(x, y - 1), f = height(x + 1, y - 1);
      const double g = height(x - 1, y), hh = height(x + 1, y);
      const double nx = (a + 2 * g + d) - (c + 2 * hh + f);
      const double ny = (a + 2 * b + c) - (d + 2 * e + f);
      const double s = 1.0 / std::sqrt(nx * nx + ny * ny + 1);
      uint8_t* texel = out.data() + (size_t(y) * size_t(w) + size_t(x)) * 4;
      texel[0] = uint8_t((nx * s + 1) * 0.5 * 255);
      texel[1] = uint8_t((ny * s + 1) * 0.5 * 255);
      texel[2] = uint8_t((s + 1) * 0.5 * 255);
      texel[3] = texels[(size_t(y) * size_t(w) + size_t(x)) * 4 + 3];
    }
  }
  std::memcpy(texels, out.data(), out.size());
}

TexelBuffer SpriteTexels(const RgbaImage& image, int32_t x, int32_t y, int32_t w, int32_t h,
                         bool nearest) {
  TexelBuffer t{TextureSizeFor(w), TextureSizeFor(h), {}};
  AssignZeroed(t.bytes, size_t(t.width) * size_t(t.height) * 4);
  CopyFlipped(image, x, y, w, h, t);
  if (!nearest) FillEdgeColours(t);
  return t;
}

void UploadTexels(const TexelBuffer& t, uint32_t& slot, int32_t filter) {
  SetUnpackState();
  if (slot != 0) glDeleteTextures(1, &slot);
  slot = 0;
  NewTexture(slot, filter, filter);
  SpecifyRgbaTexture(0, t.width, t.height, t.bytes.data());
  StopIfGlOutOfMemory();
}

bool OpenGLZozezezi::UploadTexture(const RgbaImage& image, int32_t x, int32_t y, int32_t w,
                                   int32_t h, uint32_t& texture, uint32_t* mipTexture,
                                   bool normalMap, bool nearest) {
  const int32_t maxSide = MaxTextureSide();
  if (w == 0) w = image.width - x;
  if (h == 0) h = image.height - y;
  if (w < 1 || h < 1) return false;
  TexelBuffer t = SpriteTexels(image, x, y, std::min(w, maxSide), std::min(h, maxSide), nearest);
  if (normalMap) MakeNormalMap(t.bytes.data(), t.width, t.height);
  UploadTexels(t, texture, nearest ? GL_NEAREST : GL_LINEAR);
  if (mipTexture != nullptr) UploadMipChain(t, *mipTexture);
  return true;
}

}  // namespace qrv
