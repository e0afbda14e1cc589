// The device's window and context in this process: hidden creation, the frame interval,
// the extension groups, the default 2D state's viewport and placement state changes.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "platform/window_host.h"
#include "support/host.h"

namespace {

class DeviceWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device_.CreateWindowAndContext(320, 240, 0, 0, 0)) << "no display";
  }
  qrv::OpenGLZozezezi device_;
};

TEST_F(DeviceWindow, CreatedHiddenWithTheRequestedSize) {
  EXPECT_FALSE(qrv::platform::WindowShown(device_.window));
  EXPECT_EQ(device_.width, 320);
  EXPECT_EQ(device_.height, 240);
  EXPECT_EQ(device_.colourDepth, qrv::platform::DesktopDepth());
  EXPECT_EQ(device_.frameInterval, 2.0);  // frame rate 0
  EXPECT_EQ(device_.contextAlive, 1);
  EXPECT_FALSE(device_.fullscreen);
}

TEST_F(DeviceWindow, ExtensionGroupsFollowTheExtensionString) {
  std::string names = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const qrv::GlExtensions& gl = qrv::GlExt();
  bool multitexture = names.find("GL_ARB_multitexture") != std::string::npos;
  bool fragment = names.find("GL_ARB_fragment_program") != std::string::npos;
  EXPECT_EQ(gl.glActiveTextureARB != nullptr, multitexture);
  EXPECT_EQ(gl.glGetBufferParameterivARB != nullptr, multitexture);
  EXPECT_EQ(gl.glCreateProgramObjectARB != nullptr, fragment);
  EXPECT_EQ(gl.glVertexAttrib1fARB != nullptr, fragment);
}

TEST_F(DeviceWindow, Default2DStateViewports) {
  const struct {
    int32_t orientation, x, y, w, h;
    int32_t stored[4];
    GLint gl[4];
  } cases[] = {
      {0, 0, 0, 0, 0, {0, 0, 320, 240}, {0, 0, 320, 240}},
      {0, 10, 20, 100, 50, {10, 20, 100, 50}, {10, 170, 100, 50}},
      {0, 5, 5, -1, 50, {5, 5, 320, 240}, {5, -5, 320, 240}},
      {1, 0, 0, 0, 0, {0, 0, 240, 320}, {0, 0, 320, 240}},
      {1, 10, 20, 100, 50, {10, 20, 100, 50}, {250, 130, 50, 100}},
  };
  for (const auto& c : cases) {
    device_.orientation = c.orientation;
    device_.SetDefault2DState(c.x, c.y, c.w, c.h);
    int32_t stored[4] = {device_.viewportX, device_.viewportY, device_.viewportW,
                         device_.viewportH};
    GLint gl[4];
    glGetIntegerv(GL_VIEWPORT, gl);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(stored[i], c.stored[i]) << c.orientation << " " << c.x << " " << i;
      EXPECT_EQ(gl[i], c.gl[i]) << c.orientation << " " << c.x << " " << i;
    }
  }
  device_.orientation = 0;
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(device_.smoothing, 1);
  EXPECT_EQ(device_.alpha, 1.0);
}

TEST_F(DeviceWindow, ShowHideAndScreenModes) {
  EXPECT_EQ(device_.ShowWindowed(), 1);
  EXPECT_TRUE(qrv::platform::WindowShown(device_.window));
  EXPECT_EQ(device_.HideWindow(), 1);
  EXPECT_FALSE(qrv::platform::WindowShown(device_.window));
  // A size the display has no mode for stays windowed, at the new size.
  EXPECT_EQ(device_.SetScreenMode(400, 300, 0, 1), 0);
  EXPECT_FALSE(device_.fullscreen);
  EXPECT_EQ(device_.width, 400);
  EXPECT_TRUE(qrv::platform::WindowShown(device_.window));
  EXPECT_EQ(device_.SetScreenMode(0, 0, 0, 0), 1);
  EXPECT_EQ(device_.width, 400);
  EXPECT_EQ(device_.height, 300);
}

TEST_F(DeviceWindow, DestroyKeepsTheContextForANewWindow) {
  qrv::platform::HostContext* context = device_.context;
  EXPECT_EQ(device_.DestroyWindowAndTextures(), 0);
  EXPECT_EQ(device_.window, nullptr);
  EXPECT_EQ(device_.width, 0);
  ASSERT_TRUE(device_.CreateWindowAndContext(200, 100, 0, 60, 0));
  EXPECT_EQ(device_.context, context);
  EXPECT_DOUBLE_EQ(device_.frameInterval, 1000.0 / 60);
}

TEST(DeviceWindowCreation, NegativeSizesAreRefusedAndZeroTakesTheWindowsSize) {
  for (int32_t size : {-1, -5, INT32_MIN}) {
    qrv::OpenGLZozezezi device;
    EXPECT_FALSE(device.CreateWindowAndContext(size, 100, 0, 60, 0));
    EXPECT_FALSE(device.CreateWindowAndContext(100, size, 0, 60, 0));
    EXPECT_EQ(device.window, nullptr);
    EXPECT_EQ(device.contextAlive, 0);
  }
  qrv::OpenGLZozezezi device;
  ASSERT_TRUE(device.CreateWindowAndContext(0, 100, 0, 60, 0));
  int32_t w = 0, h = 0;
  qrv::platform::WindowSize(device.window, &w, &h);
  EXPECT_GT(device.width, 0);
  EXPECT_EQ(device.width, w);
  EXPECT_EQ(device.height, 100);
  EXPECT_EQ(device.contextAlive, 1);
}

TEST(DeviceWindowCreation, MultisampleFallsBackToWhatTheDisplayOffers) {
  if (test_host::IsWindows()) {
    GTEST_SKIP() << "Windows picks a format without multisampling by itself when the count "
                    "asked for is missing, so the fallback never sees a refusal";
  }
  // No display offers 64 samples per pixel: the halving fallback settles on fewer, but
  // still multisampled when the display has any multisampled format at all.
  GLint most = 0;
  for (int32_t samples : {64, 8, 4, 2, 1}) {
    qrv::OpenGLZozezezi device;
    ASSERT_TRUE(device.CreateWindowAndContext(64, 64, 0, 60, samples)) << samples;
    GLint got = -1;
    glGetIntegerv(GL_SAMPLES, &got);
    if (samples == 64) {
      EXPECT_LT(got, 64);
      most = got;
    } else if (samples >= most) {
      EXPECT_EQ(got, most) << samples;
    }
    EXPECT_EQ(device.multisampleSamples, samples);
  }
}

}  // namespace
