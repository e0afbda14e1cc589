// Fetching the GL extension entry points by name, gated per group by the extension string.
#include "graphics2d/gl_extensions.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "platform/window_host.h"

namespace qrv {

GlExtensions& GlExt() {
  static GlExtensions table;
  return table;
}

// QRV_GL_HIDE=EXT,EXT,...: the named extensions count as absent, so that the fallback
// paths can run on a driver that has everything.
static bool Hidden(std::string_view extension) {
  const char* hide = std::getenv("QRV_GL_HIDE");
  std::string_view list = hide != nullptr ? hide : "";
  while (!list.empty()) {
    const size_t comma = list.find(',');
    if (list.substr(0, comma) == extension) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

void FetchGlExtensions() {
  const char* names = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (names == nullptr) names = "";
  GlExtensions& table = GlExt();
  bool load = false;
#define QRV_GL_GROUP(extension) \
  load = std::strstr(names, extension) != nullptr && !Hidden(extension);
#define QRV_GL_ENTRY(type, name) \
  table.name = load ? reinterpret_cast<type>(platform::GlProcAddress(#name)) : nullptr;
#include "graphics2d/gl_extension_list.h"
#undef QRV_GL_GROUP
#undef QRV_GL_ENTRY
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  table.openGlEs = version != nullptr && std::strncmp(version, "OpenGL ES", 9) == 0;
  // QRV_GL_HIDE names these by the call's own name.
  auto desktopOnly = [&table](auto& entry, const char* name) {
    entry = table.openGlEs || Hidden(name) ? nullptr
                           : reinterpret_cast<std::remove_reference_t<decltype(entry)>>(
                                 platform::GlProcAddress(name));
  };
  desktopOnly(table.glGetTexImage, "glGetTexImage");
  desktopOnly(table.glColorMaterial, "glColorMaterial");
  table.packBuffers = std::strstr(names, "GL_ARB_pixel_buffer_object") != nullptr &&
                      !Hidden("GL_ARB_pixel_buffer_object") && table.glBindBufferARB &&
                      table.glMapBufferARB && table.glUnmapBufferARB;
}

void ChooseReadBuffer(GLenum buffer) {
  if (!GlExt().openGlEs) glReadBuffer(buffer);
}

}  // namespace qrv
