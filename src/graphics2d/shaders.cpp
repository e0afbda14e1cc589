// GLSL shader pairs through the ARB shader-object entry points: loading a slot from two
// sources, switching a program on and off, and setting its uniforms and attributes.
#include <optional>
#include <string>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/files.h"

namespace qrv {
namespace {

// Larger sources are no shaders; the limit keeps a wrong name from filling the memory.
constexpr int32_t kMaxShaderSource = 16 << 20;

void Report(ShaderReport report, const char* message) {
  if (report != nullptr) report(message);
}

// Every entry point that loading needs; any one missing means no shader support.
bool CanLoadShaders(const GlExtensions& gl) {
  return gl.glCreateShaderObjectARB && gl.glCompileShaderARB && gl.glLinkProgramARB &&
         gl.glShaderSourceARB && gl.glGetObjectParameterivARB && gl.glCreateProgramObjectARB &&
         gl.glAttachObjectARB && gl.glGetInfoLogARB;
}

// A whole source from a file, a media-pack member or a "mem://" block; none when the name
// is empty or nothing can be read.
std::optional<std::string> ReadSource(std::string_view name) {
  if (name.empty()) return std::nullopt;
  RtString resolved;
  FileReader reader;
  if (!ResolveMediaName(MainPack(), RtString(name.data(), uint32_t(name.size())), resolved, true) ||
      !reader.OpenForReading(resolved.c_str()) || reader.Size() > kMaxShaderSource) {
    return std::nullopt;
  }
  std::string text(size_t(reader.Size()), '\0');
  if (!text.empty() && !reader.Read(text.data(), reader.Size())) return std::nullopt;
  return text;
}

void ReportInfoLog(const GlExtensions& gl, GLhandleARB object, ShaderReport report) {
  if (report == nullptr) return;
  GLint length = 0;
  gl.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
  std::string log(size_t(std::max(length, 1)), '\0');
  gl.glGetInfoLogARB(object, GLsizei(log.size()), nullptr, log.data());
  log.resize(std::char_traits<char>::length(log.c_str()));
  report(log.c_str());
}

// Compiles one stage into the handle; false, with the log and the message reported, when
// it does not compile.
bool CompileStage(GLenum type, const std::string& source, uint32_t& handle, ShaderReport report,
                  const char* failure) {
  const GlExtensions& gl = GlExt();
  handle = gl.glCreateShaderObjectARB(type);
  const GLcharARB* text = source.c_str();
  gl.glShaderSourceARB(handle, 1, &text, nullptr);
  gl.glCompileShaderARB(handle);
  GLint compiled = 0;
  gl.glGetObjectParameterivARB(handle, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
  if (compiled != 0) return true;
  ReportInfoLog(gl, handle, report);
  Report(report, failure);
  return false;
}

}  // namespace

bool OpenGLZozezezi::LoadShader(int32_t slot, std::string_view vertexName,
                                std::string_view fragmentName, ShaderReport report) {
  DrawPendingQuads();
  if (slot < 0 || slot >= kShaderSlotCount) return false;
  const GlExtensions& gl = GlExt();
  if (!CanLoadShaders(gl)) {
    if (!shaders.missingReported) Report(report, "No OpenGL 2.0 Shader Support");
    shaders.missingReported = true;
    return false;
  }
  ShaderSlot& s = shaders.slots[slot];
  for (uint32_t* object : {&s.program, &s.vertexShader, &s.fragmentShader}) {
    if (*object != 0 && gl.glDeleteObjectARB) gl.glDeleteObjectARB(*object);
    *object = 0;
  }
  if (auto source = ReadSource(vertexName)) {
    if (!CompileStage(GL_VERTEX_SHADER_ARB, *source, s.vertexShader, report,
                      "vertex shader failed")) {
      return false;
    }
  }
  if (auto source = ReadSource(fragmentName)) {
    if (!CompileStage(GL_FRAGMENT_SHADER_ARB, *source, s.fragmentShader, report,
                      "fragment shader failed")) {
      return false;
    }
  }
  if (s.vertexShader == 0 && s.fragmentShader == 0) return true;
  s.program = gl.glCreateProgramObjectARB();
  if (s.vertexShader != 0) gl.glAttachObjectARB(s.program, s.vertexShader);
  if (s.fragmentShader != 0) gl.glAttachObjectARB(s.program, s.fragmentShader);
  gl.glLinkProgramARB(s.program);
  GLint linked = 0;
  gl.glGetObjectParameterivARB(s.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  if (linked != 0) return true;
  ReportInfoLog(gl, s.program, report);
  Report(report, "link shader failed");
  return false;
}

void OpenGLZozezezi::UseShader(int32_t slot) {
  DrawPendingQuads();
  const auto use = GlExt().glUseProgramObjectARB;
  if (use == nullptr) return;
  if (slot >= 0 && slot < kShaderSlotCount) {
    UseTransparency(true);
    shaders.current = slot;
    use(shaders.slots[slot].program);
  } else if (shaders.current >= 0) {  // none in use already: GL holds program 0
    shaders.current = -1;
    use(0);
  }
}

// The location of a name in the program switched on, -1 (reported as two lines) when the
// program has no such name, or when there is no program.
template <class Lookup>
static GLint Locate(const ShaderTable& shaders, Lookup lookup, std::string_view name,
                    ShaderReport report, const char* undefined) {
  const std::string text(name);
  const GLint location = lookup(shaders.slots[shaders.current].program, text.c_str());
  if (location < 0) {
    Report(report, undefined);
    Report(report, text.c_str());
  }
  return location;
}

void OpenGLZozezezi::SetShaderFloat(std::string_view name, float value, ShaderReport report) {
  DrawPendingQuads();
  const GlExtensions& gl = GlExt();
  if (!gl.glGetUniformLocationARB || !gl.glUniform1fARB || shaders.current < 0) return;
  const GLint at = Locate(shaders, gl.glGetUniformLocationARB, name, report, "undefined uniform:");
  if (at >= 0) gl.glUniform1fARB(at, value);
}

void OpenGLZozezezi::SetShaderInt(std::string_view name, int32_t value, ShaderReport report) {
  DrawPendingQuads();
  const GlExtensions& gl = GlExt();
  if (!gl.glGetUniformLocationARB || !gl.glUniform1iARB || shaders.current < 0) return;
  const GLint at = Locate(shaders, gl.glGetUniformLocationARB, name, report, "undefined uniform:");
  if (at >= 0) gl.glUniform1iARB(at, value);
}

void OpenGLZozezezi::SetShaderAttribute(std::string_view name, float value, ShaderReport report) {
  DrawPendingQuads();
  const GlExtensions& gl = GlExt();
  if (!gl.glGetAttribLocationARB || !gl.glVertexAttrib1fARB || !gl.glUseProgramObjectARB ||
      shaders.current < 0) {
    return;
  }
  const GLint at = Locate(shaders, gl.glGetAttribLocationARB, name, report, "undefined attrib:");
  if (at >= 0) gl.glVertexAttrib1fARB(GLuint(at), value);
}

void OpenGLZozezezi::DeleteShaders() {
  const auto erase = GlExt().glDeleteObjectARB;
  if (contextAlive != 0 && GlExt().glUseProgramObjectARB) GlExt().glUseProgramObjectARB(0);
  for (ShaderSlot& s : shaders.slots) {
    for (uint32_t object : {s.program, s.vertexShader, s.fragmentShader}) {
      if (object != 0 && erase != nullptr && contextAlive != 0) erase(object);
    }
    s = ShaderSlot();
  }
  shaders.current = -1;
}

}  // namespace qrv
