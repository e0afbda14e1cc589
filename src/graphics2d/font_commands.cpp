// The game-facing font and text commands: each forwards to the one graphics device, and
// does nothing while there is none.
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"

namespace qrv {

void LoadFont(const RtString& name, int32_t font) {
  if (Device() != nullptr) {
    Device()->LoadFont(name, font);
  } else {
    ClearError();
    if (!name.Empty()) RecordError(3, {"LoadFont", name.View(), "no graphics device"});
  }
}

void SelectFont(int32_t font) {
  if (Device() != nullptr) Device()->SelectFont(font);
}

void FontSize(int32_t& width, int32_t& height) {
  width = height = 0;
  if (Device() != nullptr) Device()->FontSize(width, height);
}

void FontSize(double& width, double& height) {
  int32_t w = 0, h = 0;
  FontSize(w, h);
  width = w;
  height = h;
}

int32_t FirstFreeFont() {
  return Device() != nullptr ? Device()->FirstFreeFont() : -1;
}

void LoadTrueTypeFont(const RtString& name, int32_t font, int32_t pixelHeight) {
  if (Device() != nullptr) {
    Device()->LoadTrueTypeFont(name, font, pixelHeight);
  } else {
    ClearError();
    if (!name.Empty()) RecordError(3, {"LoadTrueTypeFont", name.View(), "no graphics device"});
  }
}

void SetTextColour(int32_t colour) {
  if (Device() != nullptr) Device()->SetTextColour(colour);
}

int32_t TextWidth(const RtString& text) {
  return Device() != nullptr ? Device()->TextWidth(Device()->selectedFont, text.View()) : 0;
}

void PrintText(const RtString& text, float x, float y) {
  if (Device() != nullptr) Device()->Leave3DMode();
  if (Device() != nullptr) Device()->PrintText(Device()->selectedFont, text.View(), x, y, 0);
}

}  // namespace qrv
