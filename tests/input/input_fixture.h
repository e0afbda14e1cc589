// A fresh input object per test, with the SDL video service up (the keyboard layout lives
// there), and scripts that stand in for the keyboard present by present.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "input/input_state.h"

namespace qrv {

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
