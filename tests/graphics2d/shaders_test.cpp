// Shaders on a real GL context: compile and link logs through the report sink, unknown
// names, switching off, a fragment shader that really colours what is drawn, sources in
// "mem://" blocks, and a driver without shader objects (QRV_GL_HIDE).
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "device_fixture.h"
#include "support/host.h"
#include "graphics2d/gl_extensions.h"
#include "quorvia/files.h"

namespace qrv::test {
namespace {

std::vector<std::string>& Messages() {
  static std::vector<std::string> messages;
  return messages;
}
void Collect(const char* message) {
  Messages().push_back(message);
}

// A "mem://" name for a source text.
RtString MemorySource(const std::string& text) {
  auto bytes = std::make_unique<uint8_t[]>(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  return RegisterMemoryBlock(std::move(bytes), int32_t(text.size()));
}

const char* const kVertex =
    "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = ftransform(); }";
const char* const kTint =
    "uniform float strength;\n"
    "void main() { gl_FragColor = vec4(strength, 0.0, 1.0, 1.0); }";

class Shaders : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Messages().clear();
  }
  void TearDown() override { Device().UseShader(-1); }
  static GLint CurrentProgram() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
  }
};

TEST_F(Shaders, AFragmentShaderColoursWhatIsDrawnUntilSwitchedOff) {
  ASSERT_TRUE(
      Device().LoadShader(3, MemorySource(kVertex).View(), MemorySource(kTint).View(), Collect));
  EXPECT_TRUE(Messages().empty());
  Device().UseShader(3);
  EXPECT_EQ(Device().shaders.current, 3);
  EXPECT_NE(CurrentProgram(), 0);
  Device().SetShaderFloat("strength", 1.0f, Collect);
  Device().FillRect(0, 0, 10, 10, 0x00FF00);
  EXPECT_EQ(Pixel(5, 5), 0xFF00FFu);
  Device().SetShaderFloat("strength", 0.0f, Collect);
  Device().FillRect(0, 0, 10, 10, 0x00FF00);
  EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
  // Names the program does not have: two lines each, nothing set.
  Device().SetShaderFloat("missing", 1.0f, Collect);
  Device().SetShaderInt("other", 1, Collect);
  Device().SetShaderAttribute("nothing", 1.0f, Collect);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"undefined uniform:", "missing",
                                                  "undefined uniform:", "other",
                                                  "undefined attrib:", "nothing"}));
  Device().UseShader(255);
  EXPECT_EQ(Device().shaders.current, -1);
  EXPECT_EQ(CurrentProgram(), 0);
  Device().FillRect(0, 0, 10, 10, 0x00FF00);
  EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
  // With no shader on, the setters do nothing and say nothing.
  Device().SetShaderFloat("missing", 1.0f, Collect);
  EXPECT_EQ(Messages().size(), 6u);
}

TEST_F(Shaders, CompileErrorsReportTheLogAndStop) {
  const std::string broken = "void main() { gl_Position = ; }";
  EXPECT_FALSE(
      Device().LoadShader(4, MemorySource(broken).View(), MemorySource(kTint).View(), Collect));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[0].find("rror"), std::string::npos) << Messages()[0];
  EXPECT_EQ(Messages()[1], "vertex shader failed");
  EXPECT_EQ(Device().shaders.slots[4].fragmentShader, 0u);  // not compiled
  EXPECT_EQ(Device().shaders.slots[4].program, 0u);

  Messages().clear();
  EXPECT_FALSE(Device().LoadShader(4, "", MemorySource("void main() { x }").View(), Collect));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1], "fragment shader failed");

  // Both sources missing: a slot without program, which switches to fixed function.
  Messages().clear();
  EXPECT_TRUE(Device().LoadShader(4, "no such file.vert", "", Collect));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Device().shaders.slots[4].program, 0u);
  Device().UseShader(4);
  EXPECT_EQ(CurrentProgram(), 0);
  EXPECT_FALSE(Device().LoadShader(255, "", "", Collect));
  EXPECT_FALSE(Device().LoadShader(-1, "", "", Collect));
}

TEST_F(Shaders, ALinkFailureReportsTheLogAndFails) {
  // Each stage compiles; the fragment stage calls a function no stage defines.
  const std::string calls = "void helper();\nvoid main() { helper(); gl_FragColor = vec4(1.0); }";
  EXPECT_FALSE(
      Device().LoadShader(5, MemorySource(kVertex).View(), MemorySource(calls).View(), Collect));
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_FALSE(Messages()[0].empty());
  EXPECT_EQ(Messages()[1], "link shader failed");
}

// Sampler "TextureID1" reads unit 0 and "TextureID2" unit 1; the bind step with two
// sprites puts the first on unit 1 and the second on unit 0.
TEST_F(Shaders, TwoSpritesReachTheSamplersOfBothTextureUnits) {
  const char* const mix =
      "uniform sampler2D TextureID1;\n"
      "uniform sampler2D TextureID2;\n"
      "void main() {\n"
      "  vec2 at = gl_TexCoord[0].st;\n"
      "  gl_FragColor = vec4(texture2D(TextureID1, at).r, texture2D(TextureID2, at).g, 0.0, 1.0);\n"
      "}";
  ASSERT_TRUE(
      Device().LoadShader(6, MemorySource(kVertex).View(), MemorySource(mix).View(), Collect));
  MakeSprite(30, 16, 16, std::vector<uint32_t>(256, 0x008040));  // red 0x40, green 0x80
  MakeSprite(31, 16, 16, std::vector<uint32_t>(256, 0x0020C0));  // red 0xC0, green 0x20
  Device().UseShader(6);
  Device().SetShaderInt("TextureID1", 0, Collect);
  Device().SetShaderInt("TextureID2", 1, Collect);
  Device().Bind(30, 31);
  const OpenGLZozezezi::QuadVertex corners[4] = {
      {0, 10, 0, 0}, {10, 10, 0.5f, 0}, {10, 0, 0.5f, 0.5f}, {0, 0, 0, 0.5f}};
  Device().DrawQuadFan(corners, true);
  EXPECT_EQ(Pixel(5, 5), 0x0080C0u);  // red of sprite 31, green of sprite 30
  Device().UseShader(-1);
  Device().Bind(-1);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(Shaders, WithoutShaderObjectsEverythingIsANoOp) {
  test_host::SetVariable("QRV_GL_HIDE", "GL_EXT_framebuffer_object,GL_ARB_fragment_program");
  FetchGlExtensions();
  Device().shaders.missingReported = false;
  EXPECT_FALSE(Device().LoadShader(1, MemorySource(kVertex).View(), "", Collect));
  EXPECT_FALSE(Device().LoadShader(1, MemorySource(kVertex).View(), "", Collect));
  Device().UseShader(1);
  Device().SetShaderFloat("strength", 1, Collect);
  test_host::UnsetVariable("QRV_GL_HIDE");
  FetchGlExtensions();
  EXPECT_EQ(Messages(), std::vector<std::string>{"No OpenGL 2.0 Shader Support"});
  EXPECT_EQ(Device().shaders.current, -1);
}

}  // namespace
}  // namespace qrv::test
