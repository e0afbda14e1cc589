// The cross-fade to a new background image: the current screen (tiled image 2) and the new
// image (tiled image 1) blended additively, one present per step, until the time is up;
// then the new image becomes the background (tiled image 0).
#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"

namespace qrv {

void FadeToBackground(const RtString& name, int32_t milliseconds) {
  OpenGLZozezezi* device = TheRuntime().device;
  ClearError();
  RtString resolved;
  if (device == nullptr || !ResolveMediaName(MainPack(), name, resolved, true)) {
    RecordError(3, {"FadeToBackground", name.View(), "no such file"});
    return;
  }
  device->GrabTiledImage(2);
  device->LoadTiledImage(1, resolved.View());
  device->ClearTiledImage(0);
  device->ClearScreen(0);
  const double duration = milliseconds > 0 ? double(milliseconds) : 1.0;
  const double end = GameTime() + duration;
  // h is the old screen's weight: 0.9 at first, then the share of the time left.
  for (double h = 0.9; h > 0 && h < 1;) {
    device->SetAlphaMode(h);
    device->DrawTiledImage(2);
    device->SetAlphaMode(1 - h);
    device->DrawTiledImage(1);
    Present();
    h = (end - GameTime()) / duration;
  }
  device->ClearTiledImage(1);
  device->ClearTiledImage(2);
  if (!device->LoadTiledImage(0, resolved.View())) {
    RecordError(3, {"FadeToBackground", name.View(), "not a BMP, PNG or JPEG image"});
  }
  device->SetAlphaMode(0);
  device->DrawTiledImage(0);
  Present();
}

}  // namespace qrv
