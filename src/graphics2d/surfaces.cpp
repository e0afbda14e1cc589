// Off-screen surfaces: drawing redirected into a sprite, through a frame-buffer object, or,
// where the driver has none, by drawing in the top-left corner of the back buffer and
// grabbing the result into the sprite when the surface is released.
#include <GL/gl.h>

#include <vector>

#include "graphics2d/image_codec.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/texture_upload.h"

namespace qrv {

static bool IsSurfaceNumber(int32_t surface) {
  return surface >= 0 && surface < OpenGLZozezezi::kSurfaceCount;
}

void OpenGLZozezezi::CreateSurface(int32_t surface, int32_t id, int32_t w, int32_t h) {
  ForgetGlState();
  const int32_t maxSide = MaxTextureSide();
  if (!IsSurfaceNumber(surface) || !IsSpriteId(id) || contextAlive == 0 || w <= 0 || h <= 0 ||
      w > maxSide || h > maxSide) {
    return;
  }
  if (offscreenTarget == surface) UseSurface(-1);
  // The sprite starts fully transparent. The texture is defined without texels; the frame
  // buffer clears it to zero, so no buffer of the texture's size is built or sent. Without a
  // frame buffer, zero texels are sent as they are.
  FreeSprite(id);
  SpriteRecord& s = sprites[size_t(id)];
  const int32_t tw = TextureSizeFor(w), th = TextureSizeFor(h);
  SetUnpackState();
  NewTexture(s.texture, GL_LINEAR, GL_LINEAR);
  SpecifyRgbaTexture(0, tw, th, nullptr);
  StopIfGlOutOfMemory();
  s = {s.texture,   0,          float(w) / float(tw), float(h) / float(th), int16_t(tw),
       int16_t(th), int16_t(w), int16_t(h),           s.frameWidth,         s.frameHeight};
  Surface& target = surfaces[surface];
  target.spriteId = id;
  if (target.framebuffer.Create(s.texture, tw, th, true)) {
    const uint32_t previous = Framebuffer::Current();
    target.framebuffer.Bind();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    Framebuffer::Restore(previous);
  } else {
    std::vector<uint8_t> clear;
    AssignZeroed(clear, size_t(tw) * size_t(th) * 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tw, th, GL_RGBA, GL_UNSIGNED_BYTE, clear.data());
  }
}

void OpenGLZozezezi::ReleaseSurface() {
  Surface& surface = surfaces[offscreenTarget];
  const SpriteRecord& s = sprites[size_t(surface.spriteId)];
  if (surface.framebuffer.Usable()) {
    Framebuffer::Restore(surface.savedBinding);
  } else {
    // What was drawn in the corner goes into the sprite; the screen gets its corner back.
    // The saved corner's clear pixels held the transparent colour: the fill puts it back
    // under them (blending is off, so the fill writes it).
    SetDefault2DState(0, 0, s.width, s.height);
    GrabSprite(surface.spriteId, 0, 0, s.width, s.height);
    FillRect(0, 0, s.width, s.height, transparentColour);
    DrawSprite(kScratchSprite, 0, 0);
  }
  FreeAlphaMask(surface.spriteId);
  offscreenTarget = -1;
}

int32_t OpenGLZozezezi::UseSurface(int32_t surface) {
  FlushBatch();
  if (contextAlive == 0) return -1;
  if (offscreenTarget >= 0) ReleaseSurface();
  SetDefault2DState(0, 0, 0, 0);
  if (!IsSurfaceNumber(surface)) return -1;
  Surface& target = surfaces[surface];
  const int32_t id = target.spriteId;
  MoveOffAtlas(id);  // a picture loaded into the surface's sprite since is drawn into
  const SpriteRecord& s = sprites[size_t(id)];
  // A surface never created, or whose sprite was freed since, keeps drawing on the screen.
  if (s.width <= 0 || s.texture == 0) return -1;
  if (target.framebuffer.Usable() &&
      (target.framebuffer.Width() != s.texWidth || target.framebuffer.Height() != s.texHeight)) {
    target.framebuffer.Create(s.texture, s.texWidth, s.texHeight, true);
  }
  offscreenTarget = surface;
  sprites[size_t(id)].opaque = false;  // drawn into from now on
  sprites[size_t(id)].opaqueInside = false;
  if (target.framebuffer.Usable()) {
    target.savedBinding = Framebuffer::Current();
    target.framebuffer.Bind();
    target.framebuffer.AttachTexture(s.texture);
    SetDefault2DState(0, 0, s.width, s.height);
    glViewport(0, 0, s.width, s.height);
  } else {
    // Drawing continues on top of the surface's content, over a corner keyed clear.
    SetDefault2DState(0, 0, s.width, s.height);
    GrabSprite(kScratchSprite, 0, 0, s.width, s.height);
    FillRect(0, 0, s.width, s.height, transparentColour);
    DrawSprite(id, 0, 0);
  }
  FreeAlphaMask(id);
  return id;
}

void OpenGLZozezezi::FinishFrame() {
  ForgetBinding();
  if (contextAlive == 0) return;
  if (offscreenTarget >= 0) UseSurface(-1);
  if (width <= 0 || height <= 0) return;
  KeepPresentedFrame();
}

void OpenGLZozezezi::ClearAfterSwap() {
  glClear(GL_COLOR_BUFFER_BIT | (depthMayBeWritten ? GL_DEPTH_BUFFER_BIT : 0));
  depthMayBeWritten = false;
}

void OpenGLZozezezi::StartFrame() {
  UseShader(-1);
  DrawTiledImage(0);
}

}  // namespace qrv
