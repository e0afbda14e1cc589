// A frame-buffer object that draws into a texture, with an optional depth buffer. Built
// on the EXT frame-buffer entry points, any of which the driver may lack: then Create
// fails and the caller takes another way.
#pragma once

#include <cstdint>

namespace qrv {

class Framebuffer {
 public:
  Framebuffer() = default;
  Framebuffer(const Framebuffer&) = delete;
  Framebuffer& operator=(const Framebuffer&) = delete;
  ~Framebuffer() = default;  // GL objects go only through Destroy, while a context lives

  // True when every entry point the frame-buffer objects need is there.
  static bool Supported();
  // A width x height frame buffer drawing into level 0 of the texture (which must be at
  // least that big). False, with a line on standard output, when the driver refuses.
  bool Create(uint32_t texture, int32_t width, int32_t height, bool withDepth);
  void Destroy();
  bool Usable() const { return width_ != 0; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Directs drawing and reading into this frame buffer.
  void Bind() const;
  // While bound: draws into level 0 of this texture from now on.
  void AttachTexture(uint32_t texture) const;
  // The frame buffer drawn into now (0: the window). It asks GL, which a driver running on
  // a thread of its own answers only once it has caught up: never on every frame.
  static uint32_t Current();
  // Puts back a binding that Current returned (0: the window).
  static void Restore(uint32_t binding);

 private:
  uint32_t framebuffer_ = 0;
  uint32_t depthBuffer_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace qrv
