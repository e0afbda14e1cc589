// Pixel-exact collision between sprites and between animation frames, through alpha
// masks read back from the textures on first use and cached until the slot changes.
#include <GL/gl.h>

#include <algorithm>

#include "graphics2d/opengl_device.h"

namespace qrv {
namespace {

// A sprite placed on the screen: its image's top-left corner and the box that counts.
// Screen positions are 64-bit: positions and frame shifts near the int32 limits must
// neither wrap nor overflow.
struct Placement {
  const SpriteRecord* sprite;
  const uint8_t* mask;
  int64_t originX, originY;  // where the whole image's top-left corner lands
  int64_t boxX, boxY, boxW, boxH;

  // The mask byte under screen pixel (x, y); pixels off the image are transparent.
  uint8_t At(int64_t x, int64_t y) const {
    const int64_t column = x - originX, fromTop = y - originY;
    if (column < 0 || column >= sprite->width || fromTop < 0 || fromTop >= sprite->height) {
      return 0;
    }
    return mask[size_t(sprite->height - 1 - fromTop) * size_t(sprite->texWidth) + size_t(column)];
  }
};

// Four interleaved passes over every other pixel, so that overlaps are found early.
bool AnyPixelOverlaps(const Placement& a, const Placement& b) {
  const int64_t x0 = std::max(a.boxX, b.boxX), x1 = std::min(a.boxX + a.boxW, b.boxX + b.boxW);
  const int64_t y0 = std::max(a.boxY, b.boxY), y1 = std::min(a.boxY + a.boxH, b.boxY + b.boxH);
  if (x1 < x0 || y1 < y0) return false;
  static const int64_t kPasses[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (const auto& pass : kPasses) {
    for (int64_t y = y0 + pass[1]; y < y1; y += 2) {
      for (int64_t x = x0 + pass[0]; x < x1; x += 2) {
        if (a.At(x, y) != 0 && b.At(x, y) != 0) return true;
      }
    }
  }
  return false;
}

// Where sprite id (or one of its frames) lands when drawn at (x, y). False without a mask.
bool Place(OpenGLZozezezi& device, int32_t id, int32_t frame, bool byFrame, int32_t x, int32_t y,
           Placement& p) {
  p.mask = device.AlphaMask(id);
  if (p.mask == nullptr) return false;
  const SpriteRecord& s = device.sprites[size_t(id)];
  p.sprite = &s;
  p.originX = p.boxX = x;
  p.originY = p.boxY = y;
  p.boxW = s.width;
  p.boxH = s.height;
  if (byFrame && s.frameWidth != 0) {
    const int32_t perRow = std::max(s.width / s.frameWidth, 1);
    p.boxW = s.frameWidth;
    p.boxH = s.frameHeight;
    p.originX = x - int64_t(s.frameWidth) * (frame % perRow);
    p.originY = y - int64_t(s.frameHeight) * (frame / perRow);
  }
  return true;
}

}  // namespace

const uint8_t* OpenGLZozezezi::AlphaMask(int32_t id) {
  if (!IsSpriteId(id)) return nullptr;
  auto& mask = alphaMasks[size_t(id)];
  const SpriteRecord& s = sprites[size_t(id)];
  TexelBuffer texels;
  if (mask == nullptr && s.width > 0 && ReadSpriteTexels(id, texels)) {
    const size_t count = size_t(texels.width) * size_t(texels.height);
    mask = std::make_unique<uint8_t[]>(std::max<size_t>(count, 64));
    for (size_t i = 0; i < count; ++i) mask[i] = texels.bytes[i * 4 + 3];
  }
  return mask.get();
}

void OpenGLZozezezi::FreeAlphaMask(int32_t id) {
  if (IsSpriteId(id)) alphaMasks[size_t(id)].reset();
}

bool OpenGLZozezezi::SpriteCollision(int32_t a, int32_t xA, int32_t yA, int32_t b, int32_t xB,
                                     int32_t yB) {
  Placement pa, pb;
  return Place(*this, a, 0, false, xA, yA, pa) && Place(*this, b, 0, false, xB, yB, pb) &&
         AnyPixelOverlaps(pa, pb);
}

bool OpenGLZozezezi::FrameCollision(int32_t a, int32_t frameA, int32_t xA, int32_t yA, int32_t b,
                                    int32_t frameB, int32_t xB, int32_t yB) {
  Placement pa, pb;
  return Place(*this, a, frameA, true, xA, yA, pa) && Place(*this, b, frameB, true, xB, yB, pb) &&
         AnyPixelOverlaps(pa, pb);
}

}  // namespace qrv
