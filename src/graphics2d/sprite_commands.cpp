// The game-facing sprite commands: each forwards to the one graphics device, and does
// nothing while there is none.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

void LoadSprite(const RtString& name, int32_t id) {
  if (Device() != nullptr) {
    Device()->LoadSprite(name, id);
  } else {
    ClearError();
    RecordError(3, {"LoadSprite", name.View(), "no graphics device"});
  }
}

void LoadNormalMapSprite(const RtString& name, int32_t id) {
  if (Device() != nullptr) {
    Device()->LoadNormalMapSprite(name, id);
  } else {
    LoadSprite(name, id);
  }
}

void LoadAnimSprite(const RtString& name, int32_t id, int32_t frameWidth, int32_t frameHeight) {
  if (Device() != nullptr) {
    Device()->LoadAnimSprite(name, id, frameWidth, frameHeight);
  } else {
    LoadSprite(name, id);
  }
}

void FreeSprite(int32_t id) {
  if (Device() != nullptr) Device()->FreeSprite(id);
}

void SetTransparentColour(int32_t colour) {
  if (Device() != nullptr) Device()->SetTransparentColour(colour);
}

void SetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight) {
  if (Device() != nullptr) Device()->SetFrameSize(id, frameWidth, frameHeight);
}

void SpriteSize(int32_t id, int32_t& width, int32_t& height) {
  width = height = 0;
  if (Device() != nullptr) Device()->SpriteSize(id, width, height);
}

void SpriteSize(int32_t id, double& width, double& height) {
  int32_t w = 0, h = 0;
  SpriteSize(id, w, h);
  width = w;
  height = h;
}

int32_t FirstFreeSprite() {
  return Device() != nullptr ? Device()->FirstFreeSprite() : 0;
}

bool SpriteFromPixels(const RtArray<int32_t>& pixels, int32_t id, int32_t width, int32_t height) {
  return Device() != nullptr &&
         Device()->SpriteFromPixels(std::span<const int32_t>(pixels.Data(), size_t(pixels.Count())),
                                    id, width, height);
}

bool SpriteToPixels(RtArray<int32_t>& pixels, int32_t id) {
  std::vector<int32_t> values;
  if (Device() == nullptr || !Device()->SpriteToPixels(values, id)) return false;
  pixels.DimExact(int32_t(values.size()));
  std::copy(values.begin(), values.end(), pixels.Data());
  return true;
}

uint32_t SpriteTexture(int32_t id) {
  return Device() != nullptr ? Device()->SpriteTexture(id) : 0;
}

bool SpriteCollision(int32_t a, int32_t xA, int32_t yA, int32_t b, int32_t xB, int32_t yB) {
  return Device() != nullptr && Device()->SpriteCollision(a, xA, yA, b, xB, yB);
}

bool FrameCollision(int32_t a, int32_t frameA, int32_t xA, int32_t yA, int32_t b, int32_t frameB,
                    int32_t xB, int32_t yB) {
  return Device() != nullptr && Device()->FrameCollision(a, frameA, xA, yA, b, frameB, xB, yB);
}

}  // namespace qrv
