// The GL extension entry points of the process: fetched by name once a context exists,
// null where the driver lacks them. Every user checks for null before calling.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

namespace qrv {

struct GlExtensions {
#define QRV_GL_GROUP(extension)
#define QRV_GL_ENTRY(type, name) type name = nullptr;
#include "graphics2d/gl_extension_list.h"
#undef QRV_GL_GROUP
#undef QRV_GL_ENTRY
  // GL_ARB_pixel_buffer_object: glReadPixels may write into a buffer object, so that the
  // program does not wait for the pixels (no entry points of its own; the buffer calls
  // come with the multitexture group).
  bool packBuffers = false;
  // OpenGL ES and WebGL (GL_VERSION "OpenGL ES ..."). Desktop GL chooses the buffer reads come
  // from (glReadBuffer), reads a texture's texels back (glGetTexImage, fetched by name here),
  // takes sized internal formats (GL_RGBA8, GL_DEPTH_COMPONENT24) and reads and unpacks
  // rectangles out of wider rows (GL_PACK_ROW_LENGTH and its kin). ES does none of these: reads come from the bound frame
  // buffer, a texture is read through one, a texture's internal format is its pixels' format,
  // rows are always tight, and depth buffers are 16-bit.
  bool openGlEs = false;
  // Desktop GL's own calls, fetched by name there (QRV_GL_HIDE may name them too); ES has
  // neither (the page's emulation of fixed-function GL lights with the material alone).
  void(APIENTRY* glGetTexImage)(GLenum target, GLint level, GLenum format, GLenum type,
                                void* pixels) = nullptr;
  void(APIENTRY* glColorMaterial)(GLenum face, GLenum mode) = nullptr;
};

// The table of the process.
GlExtensions& GlExt();

// Fetches every group whose extension the current context names; the others stay null.
void FetchGlExtensions();

// glReadBuffer(buffer) on desktop GL; nothing on OpenGL ES.
void ChooseReadBuffer(GLenum buffer);

}  // namespace qrv
