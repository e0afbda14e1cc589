// Small sprites share atlas pages, so that plain sprites and frames of different sprites
// drawn one after another need no change of texture and the batch goes on. Drawing texel
// for pixel (the 2D projection, nearest filtering, a frame inside the image) samples only
// texel centres of the image, the same texels at the same centres on the page as on a
// texture of the sprite's own, so the pixels are the same. Every other use (scaled,
// stretched and turned drawing, whose filters fall between texels where a page's
// coordinates round otherwise than the own texture's; the 3D scene, polygons, mipmaps,
// wrapped frames, other projections) draws from a texture of the sprite's own, made from
// the same texels when first needed (GiveOwnTexture). Writing into the sprite (surfaces,
// grabs, a texture handed to the program) takes it off its page for good. Each sprite on a
// page sits in a frame of one texel holding what its own texture's edge gives under
// GL_CLAMP_TO_EDGE, so that even a sample that strays half a texel past the image (a
// multisampled edge) reads no neighbour.
#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_readback.h"
#include "graphics2d/texture_upload.h"
#include "platform/host_services.h"

namespace qrv {
namespace {

constexpr int32_t kAtlasPageSide = 2048;
constexpr int32_t kAtlasSpriteSide = 256;  // larger images keep a texture of their own

// QRV_NO_ATLAS=1 gives every sprite a texture of its own (a test hook: the pictures with
// and without pages must be the same).
bool AtlasSwitchedOff() {
  std::string value;
  return platform::EnvironmentValue("QRV_NO_ATLAS", value) && !value.empty() && value != "0";
}

// The texel the sprite's own texture gives at (column, row), -1 .. size, under clamping.
const uint8_t* EdgeTexel(const TexelBuffer& t, int32_t w, int32_t h, int32_t column, int32_t row) {
  return t.At(std::clamp(column, 0, std::min(w, t.width - 1)),
              std::clamp(row, 0, std::min(h, t.height - 1)));
}

}  // namespace

bool OpenGLZozezezi::PlaceOnAtlas(int32_t id, const TexelBuffer& texels) {
  SpriteRecord& s = sprites[size_t(id)];
  const int32_t w = s.width, h = s.height;
  if (id >= kFontSlotBase || id == kScratchSprite || w > kAtlasSpriteSide || h > kAtlasSpriteSide ||
      AtlasSwitchedOff()) {
    return false;
  }
  if (atlasPacker == nullptr) {
    atlasPacker = std::make_unique<AtlasPacker>(std::min(kAtlasPageSide, MaxTextureSide()));
  }
  AtlasPlace place;
  bool newPage = false;
  if (!atlasPacker->Place(w + 2, h + 2, place, newPage)) return false;
  ForgetBinding();
  const int32_t side = atlasPacker->PageSide();
  if (size_t(place.page) >= atlasPages.size()) atlasPages.resize(size_t(place.page) + 1, 0);
  uint32_t& page = atlasPages[size_t(place.page)];
  SetUnpackState();
  if (newPage) {
    NewTexture(page, GL_NEAREST, GL_NEAREST);
    SpecifyRgbaTexture(0, side, side, nullptr);
    StopIfGlOutOfMemory();
  } else {
    glBindTexture(GL_TEXTURE_2D, page);
  }
  TexelBuffer framed{w + 2, h + 2, {}};
  framed.bytes.resize(size_t(framed.width) * size_t(framed.height) * 4);
  for (int32_t row = 0; row < framed.height; ++row) {
    for (int32_t column = 0; column < framed.width; ++column) {
      std::copy_n(EdgeTexel(texels, w, h, column - 1, row - 1), 4, framed.At(column, row));
    }
  }
  glTexSubImage2D(GL_TEXTURE_2D, 0, place.x, place.y, framed.width, framed.height, GL_RGBA,
                  GL_UNSIGNED_BYTE, framed.bytes.data());
  s.pageTexture = page;
  s.pageS = float(place.x + 1) / float(side);
  s.pageT = float(place.y + 1) / float(side);
  s.pageScaleS = float(s.texWidth) / float(side);
  s.pageScaleT = float(s.texHeight) / float(side);
  atlasSprites[id] = {place, texels};
  return true;
}

void OpenGLZozezezi::LeaveAtlas(int32_t id) {
  const auto it = atlasSprites.find(id);
  if (it == atlasSprites.end()) return;
  ForgetGlState();
  const AtlasPlace place = it->second.place;
  atlasSprites.erase(it);
  if (atlasPacker->Free(place)) {
    uint32_t& page = atlasPages[size_t(place.page)];
    if (contextAlive != 0) glDeleteTextures(1, &page);
    page = 0;
  }
  SpriteRecord& s = sprites[size_t(id)];
  s.pageTexture = 0;
  s.pageS = s.pageT = 0.0f;
  s.pageScaleS = s.pageScaleT = 1.0f;
}

void OpenGLZozezezi::GiveOwnTexture(int32_t id) {
  const auto it = atlasSprites.find(id);
  if (it == atlasSprites.end() || sprites[size_t(id)].texture != 0) return;
  ForgetBinding();
  UploadTexels(it->second.texels, sprites[size_t(id)].texture, GL_LINEAR);
}

void OpenGLZozezezi::MoveOffAtlas(int32_t id) {
  GiveOwnTexture(id);
  LeaveAtlas(id);
}

bool OpenGLZozezezi::ReadSpriteTexels(int32_t id, TexelBuffer& texels) {
  ForgetGlState();
  if (!IsSpriteId(id) || sprites[size_t(id)].width <= 0 || contextAlive == 0) return false;
  const SpriteRecord& s = sprites[size_t(id)];
  if (const auto it = atlasSprites.find(id); it != atlasSprites.end()) {
    texels = it->second.texels;
    return true;
  }
  texels = {s.texWidth, s.texHeight, {}};
  texels.bytes.resize(size_t(s.texWidth) * size_t(s.texHeight) * 4);
  return ReadTextureTexels(s.texture, s.texWidth, s.texHeight, texels.bytes.data());
}

}  // namespace qrv
