// A texture's texels read back: desktop GL reads them directly; OpenGL ES and WebGL have no
// such call, so the texture is attached to a frame buffer of its own and read from there.
#include "graphics2d/texture_readback.h"

#include <GL/glext.h>

#include "graphics2d/gl_extensions.h"

namespace qrv {

bool ReadTextureTexels(GLuint texture, int32_t width, int32_t height, uint8_t* rgba) {
  const GlExtensions& gl = GlExt();
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  if (gl.glGetTexImage != nullptr) {
    gl.glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return true;
  }
  if (gl.glGenFramebuffersEXT == nullptr) return false;
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
  GLuint framebuffer = 0;
  gl.glGenFramebuffersEXT(1, &framebuffer);
  gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
  gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                               texture, 0);
  const bool complete =
      gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
  if (complete) glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(bound));
  gl.glDeleteFramebuffersEXT(1, &framebuffer);
  return complete;
}

}  // namespace qrv
