// Fetching the GL extension entry points by name, gated per group by the extension string.
#include "graphics2d/gl_extensions.h"

#include <cstring>

#include "platform/window_host.h"

namespace qrv {

GlExtensions& GlExt() {
  static GlExtensions table;
  return table;
}

void FetchGlExtensions() {
  const char* names = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  if (names == nullptr) names = "";
  GlExtensions& table = GlExt();
  bool load = false;
#define QRV_GL_GROUP(extension) load = std::strstr(names, extension) != nullptr;
#define QRV_GL_ENTRY(type, name) \
  table.name = load ? reinterpret_cast<type>(platform::GlProcAddress(#name)) : nullptr;
#include "graphics2d/gl_extension_list.h"
#undef QRV_GL_GROUP
#undef QRV_GL_ENTRY
}

}  // namespace qrv
