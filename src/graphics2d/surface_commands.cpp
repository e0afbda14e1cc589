// The game-facing commands for background images, grabs, saving and off-screen surfaces:
// each forwards to the one graphics device, and does nothing while there is none.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

void LoadBackground(const RtString& name) {
  if (Device() != nullptr) {
    Device()->LoadBackground(name);
  } else {
    ClearError();
    RecordError(3, {"LoadBackground", name.View(), "no graphics device"});
  }
}

void ClearBackground(int32_t colour) {
  if (Device() != nullptr) Device()->ClearBackground(colour);
}

bool GrabSprite(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
  return Device() != nullptr && Device()->GrabSprite(id, x, y, width, height);
}

int32_t GetPixel(int32_t x, int32_t y) {
  return Device() != nullptr ? Device()->GetPixel(x, y) : 0;
}

bool SaveScreen(const RtString& name) {
  if (Device() != nullptr && Device()->SaveScreen(name.View())) return true;
  RecordError(3, {"SaveScreen", name.View(), "cannot be written"});
  return false;
}

bool SaveSprite(const RtString& name, int32_t id) {
  if (Device() != nullptr && Device()->SaveSprite(name.View(), id)) return true;
  RecordError(3, {"SaveSprite", name.View(), "cannot be written"});
  return false;
}

void CreateSurface(int32_t surface, int32_t id, int32_t width, int32_t height) {
  if (Device() != nullptr) Device()->CreateSurface(surface, id, width, height);
}

int32_t UseSurface(int32_t surface) {
  return Device() != nullptr ? Device()->UseSurface(surface) : -1;
}

}  // namespace qrv
