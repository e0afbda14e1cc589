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

// One of SDL's virtual joysticks, with SDL's joystick service started for it, opened so that
// a test sets its axes, hats and buttons. Detach before the service's other users stop.
class VirtualJoystick {
 public:
  // The description's version is filled in here.
  void Attach(SDL_VirtualJoystickDesc desc) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    started_ = true;
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    index_ = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index_, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(index_);
    ASSERT_NE(joystick_, nullptr) << SDL_GetError();
  }
  void Detach() {
    if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    int index = 0;
    while (index < SDL_NumJoysticks() && !SDL_JoystickIsVirtual(index)) ++index;
    if (index < SDL_NumJoysticks()) SDL_JoystickDetachVirtual(index);
    if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    started_ = false;
  }
  SDL_Joystick* Get() const { return joystick_; }
  // The device index it had when attached.
  int Index() const { return index_; }

 private:
  SDL_Joystick* joystick_ = nullptr;
  int index_ = -1;
  bool started_ = false;
};

class InputTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  }
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
