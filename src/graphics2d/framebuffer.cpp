// Frame-buffer objects drawing into a texture, through the EXT entry points.
#include "graphics2d/framebuffer.h"

#include <cstdio>

#include "graphics2d/gl_extensions.h"

namespace qrv {

bool Framebuffer::Supported() {
  const GlExtensions& gl = GlExt();
  return gl.glGenFramebuffersEXT && gl.glDeleteFramebuffersEXT && gl.glBindFramebufferEXT &&
         gl.glGenRenderbuffersEXT && gl.glDeleteRenderbuffersEXT && gl.glBindRenderbufferEXT &&
         gl.glRenderbufferStorageEXT && gl.glCheckFramebufferStatusEXT &&
         gl.glFramebufferTexture2DEXT && gl.glFramebufferRenderbufferEXT;
}

bool Framebuffer::Create(uint32_t texture, int32_t width, int32_t height, bool withDepth) {
  Destroy();
  if (!Supported() || width <= 0 || height <= 0) return false;
  const GlExtensions& gl = GlExt();
  gl.glGenFramebuffersEXT(1, &framebuffer_);
  if (framebuffer_ == 0) {
    std::puts("glGenFramebuffersExt failed");
    return false;
  }
  if (withDepth) {
    gl.glGenRenderbuffersEXT(1, &depthBuffer_);
    if (depthBuffer_ == 0) {
      std::puts("glGenRenderbuffersExt failed");
      Destroy();
      return false;
    }
    gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer_);
    // OpenGL ES 2 and WebGL 1 offer 16-bit depth buffers only.
    gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT,
                                gl.openGlEs ? GL_DEPTH_COMPONENT16 : GL_DEPTH_COMPONENT24,
                                width, height);
    gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  }
  width_ = width;
  height_ = height;
  // Completeness is asked of this frame buffer with its attachments in place.
  const uint32_t previous = Current();
  Bind();
  AttachTexture(texture);
  if (depthBuffer_ != 0) {
    gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                    GL_RENDERBUFFER_EXT, depthBuffer_);
  }
  const bool complete =
      gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
  Restore(previous);
  if (!complete) {
    std::puts("glCheckFramebufferStatusExt failed");
    Destroy();
    return false;
  }
  std::fflush(stdout);
  return true;
}

void Framebuffer::Destroy() {
  const GlExtensions& gl = GlExt();
  if (framebuffer_ != 0 && gl.glDeleteFramebuffersEXT) gl.glDeleteFramebuffersEXT(1, &framebuffer_);
  if (depthBuffer_ != 0 && gl.glDeleteRenderbuffersEXT) {
    gl.glDeleteRenderbuffersEXT(1, &depthBuffer_);
  }
  framebuffer_ = 0;
  depthBuffer_ = 0;
  width_ = 0;
  height_ = 0;
}

void Framebuffer::Bind() const {
  GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
}

uint32_t Framebuffer::Current() {
  GLint binding = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &binding);
  return uint32_t(binding);
}

void Framebuffer::AttachTexture(uint32_t texture) const {
  GlExt().glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                    texture, 0);
}

void Framebuffer::Restore(uint32_t binding) {
  if (GlExt().glBindFramebufferEXT) GlExt().glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, binding);
}

}  // namespace qrv
