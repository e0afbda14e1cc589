// A fresh input object per test, with the SDL video service up (the keyboard layout lives
// there), and scripts that stand in for the keyboard present by present.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "input/input_state.h"

namespace qrv {

// Turns the display of a 640x480 device without a window. The device is kept for the
// rest of the process: without a window it has nothing to release.
inline void TurnDisplay(bool turned) {
  Runtime& rt = TheRuntime();
  if (rt.device == nullptr) {
    rt.device = new OpenGLZozezezi();
    rt.device->width = 640;
    rt.device->height = 480;
  }
  rt.device->orientation = turned ? 1 : 0;
}

class InputTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  void SetUp() override { CreateInput(); }
  void TearDown() override { ShutdownInput(); }

  // Replaces the keyboard with a script from now on.
  void UseScript(const char* text) {
    auto script = std::make_unique<ReplayScript>();
    std::string error;
    ASSERT_TRUE(script->Parse(text, &error)) << error;
    TheInput()->replay = std::move(script);
    ApplyReplay(*TheInput());
  }
};

}  // namespace qrv
