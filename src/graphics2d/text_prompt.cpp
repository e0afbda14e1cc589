// The text input prompt: the screen is frozen into tiled image 3, and the line typed so far
// is printed over it with a blinking cursor, one present per pass, until Enter.
#include <string>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "graphics2d/prompt_line.h"
#include "quorvia/frame.h"
#include "quorvia/input.h"
#include "quorvia/values.h"

namespace qrv {
namespace {

constexpr int32_t kFrozenScreen = 3;
constexpr int32_t kBlinkFrames = 20;  // the cursor flips after this many idle passes

std::string Prompt(std::string line, int32_t x, int32_t y, PromptKind kind) {
  OpenGLZozezezi* device = TheRuntime().device;
  if (device == nullptr) return line;
  device->GrabTiledImage(kFrozenScreen);
  device->DrawTiledImage(kFrozenScreen);
  device->PrintText(device->selectedFont, line, float(x), float(y), 0);
  Present();
  bool cursor = true;
  for (int32_t idle = 0;;) {
    const RtString key = ReadKeyChar();
    if (!key.Empty()) {
      if (ApplyPromptKey(line, key.c_str()[0], kind)) break;
    } else if (++idle > kBlinkFrames) {
      cursor = !cursor;
      idle = 0;
    }
    device->DrawTiledImage(kFrozenScreen);
    device->PrintText(device->selectedFont, cursor ? line + "_" : line, float(x), float(y), 0);
    Present();
  }
  device->ClearTiledImage(kFrozenScreen);
  return line;
}

}  // namespace

void InputText(RtString& text, int32_t x, int32_t y) {
  const std::string line = Prompt(std::string(text.View()), x, y, PromptKind::kText);
  text = RtString(line.data(), uint32_t(line.size()));
}

int32_t InputInteger(int32_t x, int32_t y) {
  return TextToInteger(Prompt("", x, y, PromptKind::kInteger).c_str());
}

double InputNumber(int32_t x, int32_t y) {
  return TextToNumber(Prompt("", x, y, PromptKind::kNumber).c_str());
}

}  // namespace qrv
