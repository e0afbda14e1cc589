// The input object's life: creation at start-up, set-up once the window exists (pointer,
// joysticks, replay and recording), and the release at shutdown.
#include "input/input_state.h"

#include <algorithm>
#include <cstring>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "platform/input_host.h"

namespace qrv {

InputState* TheInput() {
  return TheRuntime().input;
}

HeldKeys HeldIn(const uint8_t keys[256]) {
  HeldKeys held;
  for (size_t code = 0; code < 256; ++code) held.set(code, (keys[code] & 0x80) != 0);
  return held;
}

void CreateInput() {
  Runtime& rt = TheRuntime();
  if (rt.input == nullptr) rt.input = new InputState();
}

static void OpenJoysticks(InputState& input) {
  int32_t available = platform::JoystickDeviceCount();
  for (int32_t i = 0; i < available && input.joystickCount < kMaxJoysticks; ++i) {
    platform::JoystickDevice* device = platform::OpenJoystick(i);
    if (device == nullptr) continue;
    // Names are kept as the fixed 522-byte records held them: at most 521 characters.
    input.joystickNames[input.joystickCount] = platform::JoystickDeviceName(device).substr(0, 521);
    input.joysticks[input.joystickCount++] = device;
  }
}

void StartInputDevices() {
  InputState* input = TheInput();
  if (input != nullptr && !input->hostStarted) input->hostStarted = platform::StartInputHost();
}

int32_t InitInput(bool exclusiveMouse) {
  InputState* input = TheInput();
  if (input == nullptr) return 0;
  int32_t status = 1;
  input->selectedMouse = 0;
  StartInputDevices();
  if (!input->hostStarted) {
    AppendToErrorLog("No DX_Input");
    status = static_cast<int32_t>(0x8000000Au);
  }
  platform::ReadPointer(&input->pointerX, &input->pointerY);
  std::memset(input->keys, 0, sizeof input->keys);
  input->pointerVisible = !exclusiveMouse;
  platform::SetPointerHidden(exclusiveMouse);
  if (input->hostStarted) OpenJoysticks(*input);
  StartReplayAndRecord(*input);
  return status;
}

void ShutdownInput() {
  Runtime& rt = TheRuntime();
  InputState* input = rt.input;
  if (input == nullptr) return;
  StopRecording(*input);
  if (!input->pointerVisible) {
    platform::SetPointerHidden(false);
    platform::MovePointer(input->pointerX, input->pointerY);
  }
  for (platform::JoystickDevice*& device : input->joysticks) {
    if (device != nullptr) platform::CloseJoystick(device);
    device = nullptr;
  }
  if (input->hostStarted) platform::StopInputHost();
  delete input;
  rt.input = nullptr;
}

void TakeWindowMessages() {
  // The program's message hook may read input itself: the pump is not entered again
  // from inside it.
  static bool pumping = false;
  if (pumping) return;
  // Readings come in bursts (a thousand key tests in one frame): the pump runs at most
  // once a millisecond, so a close or an ending signal is still seen within one.
  static double lastPump = -1.0;
  const double now = RawTimer();
  if (lastPump >= 0 && now >= lastPump && now - lastPump < 1.0) return;
  lastPump = now;
  pumping = true;
  PumpMessages(LookUpMessageHook());
  pumping = false;
}

ScreenShape TheScreen() {
  const OpenGLZozezezi* device = TheRuntime().device;
  if (device != nullptr && device->width > 0 && device->height > 0) {
    return {device->width, device->height, device->orientation != 0};
  }
  return {std::max(Settings().screenWidth, 1), std::max(Settings().screenHeight, 1), false};
}

}  // namespace qrv
