// The sprite table of the device: filling and freeing slots, loading image files into
// them with the transparent colour, and exchanging sprites with integer pixel arrays.
#include <GL/gl.h>

#include <algorithm>

#include "graphics2d/texture_parameters.h"
#include "graphics2d/image_codec.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_upload.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv {

void OpenGLZozezezi::FreeSprite(int32_t id) {
  ForgetGlState();
  if (!IsSpriteId(id)) return;
  LeaveAtlas(id);
  SpriteRecord& s = sprites[size_t(id)];
  if (contextAlive != 0) {
    if (s.texture != 0) glDeleteTextures(1, &s.texture);
    if (s.mipTexture != 0) glDeleteTextures(1, &s.mipTexture);
  }
  s.texture = 0;
  s.mipTexture = 0;
  s.texWidth = -1;
  s.texHeight = -1;
  s.width = 0;
  s.height = 0;
  s.uMax = 1.0f;
  s.vMax = 1.0f;
  alphaMasks[size_t(id)].reset();
}

void OpenGLZozezezi::FreeAllSprites() {
  for (int32_t id = 0; id < kSpriteCount; ++id) FreeSprite(id);
}

// The top-left w x h pixels of the image all have alpha 255.
static bool AllOpaque(const RgbaImage& image, int32_t w, int32_t h) {
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = image.Row(y);
    for (int32_t x = 0; x < w; ++x) {
      if (row[size_t(x) * 4 + 3] != 255) return false;
    }
  }
  return true;
}

bool OpenGLZozezezi::CreateSprite(int32_t id, const RgbaImage& image, bool normalMap) {
  FreeSprite(id);
  if (!IsSpriteId(id) || image.Empty() || contextAlive == 0) return false;
  SpriteRecord& s = sprites[size_t(id)];
  const bool font = id >= kFontSlotBase;
  // An image beyond the largest texture keeps its top-left part; the record describes it.
  const int32_t maxSide = MaxTextureSide();
  const int32_t w = std::min(image.width, maxSide), h = std::min(image.height, maxSide);
  TexelBuffer texels = SpriteTexels(image, 0, 0, w, h, font);
  normalMap = normalMap && !font;
  if (normalMap) MakeNormalMap(texels.bytes.data(), texels.width, texels.height);
  s.texWidth = int16_t(texels.width);
  s.texHeight = int16_t(texels.height);
  s.width = int16_t(w);
  s.height = int16_t(h);
  s.uMax = float(w) / float(s.texWidth);
  s.vMax = float(h) / float(s.texHeight);
  s.opaqueInside = AllOpaque(image, w, h);
  s.opaque = w == s.texWidth && h == s.texHeight && s.opaqueInside;
  if (normalMap || !PlaceOnAtlas(id, texels)) {
    UploadTexels(texels, s.texture, font ? GL_NEAREST : GL_LINEAR);
  }
  if (!font) UploadMipChain(texels, s.mipTexture);
  return true;
}

void OpenGLZozezezi::SetTransparentColour(int32_t colour) {
  transparentColour = colour;
  fontColourKey = colour;
}

const char* OpenGLZozezezi::LoadSpriteImage(const RtString& name, int32_t id, int32_t key,
                                            bool normalMap) {
  RtString resolved;
  RgbaImage image;
  if (!ResolveMediaName(MainPack(), name, resolved, true)) return "no such file";
  if (!LoadImageFile(image, resolved.View(), key)) return "not a BMP, PNG or JPEG image";
  if (!CreateSprite(id, image, normalMap)) return "the texture cannot be made";
  return nullptr;
}

void OpenGLZozezezi::LoadSpriteFile(const char* command, const RtString& name, int32_t id,
                                    bool normalMap) {
  ClearError();
  FreeSprite(id);
  const char* reason = !IsSpriteId(id) ? "no such sprite id"
                                       : LoadSpriteImage(name, id, transparentColour, normalMap);
  if (reason != nullptr) RecordError(3, {command, name.View(), reason});
}

void OpenGLZozezezi::LoadSprite(const RtString& name, int32_t id) {
  LoadSpriteFile("LoadSprite", name, id, false);
}

void OpenGLZozezezi::LoadNormalMapSprite(const RtString& name, int32_t id) {
  LoadSpriteFile("LoadNormalMapSprite", name, id, true);
}

void OpenGLZozezezi::LoadAnimSprite(const RtString& name, int32_t id, int32_t frameWidth,
                                    int32_t frameHeight) {
  LoadSpriteFile("LoadAnimSprite", name, id, false);
  SetFrameSize(id, frameWidth, frameHeight);
}

void OpenGLZozezezi::SetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight) {
  if (!IsSpriteId(id) || sprites[size_t(id)].width <= 0) return;
  sprites[size_t(id)].frameWidth = int16_t(std::clamp(frameWidth, 0, 32767));
  sprites[size_t(id)].frameHeight = int16_t(std::clamp(frameHeight, 0, 32767));
}

void OpenGLZozezezi::SpriteSize(int32_t id, int32_t& width, int32_t& height) const {
  const bool valid = IsSpriteId(id);
  width = valid ? sprites[size_t(id)].width : 0;
  height = valid ? sprites[size_t(id)].height : 0;
}

int32_t OpenGLZozezezi::FirstFreeSprite() const {
  for (int32_t id = 0; id < kFontSlotBase; ++id) {
    if (sprites[size_t(id)].width == 0) return id;
  }
  return -1;
}

uint32_t OpenGLZozezezi::SpriteTexture(int32_t id) {
  if (!IsSpriteId(id)) return 0;
  // The program may change the texture's texels and parameters by its own GL calls.
  MoveOffAtlas(id);
  SpriteRecord& s = sprites[size_t(id)];
  s.opaque = false;
  s.opaqueInside = false;
  HandOutTexture(s.texture);
  return s.texture;
}

bool OpenGLZozezezi::SpriteFromPixels(std::span<const int32_t> pixels, int32_t id,
                                      int32_t width, int32_t height) {
  if (width < 0 || height < 0 || pixels.size() != size_t(width) * size_t(height)) {
    return false;
  }
  // An empty picture (0 x 0, with no elements) frees the slot, as every create does; so
  // does one larger than any picture may be, before any room is made for it.
  RgbaImage image;
  if (!pixels.empty() && ImageSizeAllowed(width, height)) image.Resize(width, height);
  for (size_t i = 0; i < image.pixels.size() / 4; ++i) {
    const uint32_t v = uint32_t(pixels[i]);
    for (int b = 0; b < 4; ++b) image.pixels[i * 4 + size_t(b)] = uint8_t(v >> (8 * b));
  }
  return CreateSprite(id, image, false);
}

bool OpenGLZozezezi::ReadSpriteImage(int32_t id, RgbaImage& image) {
  TexelBuffer texels;
  if (!ReadSpriteTexels(id, texels)) return false;
  const SpriteRecord& s = sprites[size_t(id)];
  image.Resize(s.width, s.height);
  for (int32_t row = 0; row < s.height; ++row) {
    std::copy_n(texels.At(0, s.height - 1 - row), size_t(s.width) * 4, image.Row(row));
  }
  return true;
}

bool OpenGLZozezezi::SpriteToPixels(std::vector<int32_t>& pixels, int32_t id) {
  RgbaImage image;
  if (!ReadSpriteImage(id, image)) return false;
  pixels.resize(size_t(image.width) * size_t(image.height));
  for (size_t i = 0; i < pixels.size(); ++i) {
    const uint8_t* p = image.pixels.data() + i * 4;
    pixels[i] = int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                        uint32_t(p[3]) << 24);
  }
  return true;
}

}  // namespace qrv
