// The mouse: motion computed once per frame and repeated to later readings of the same
// frame, the tracked pointer, the wheel, and the visible or hidden system pointer.
#include <algorithm>

#include "input/input_state.h"
#include "platform/input_host.h"

namespace qrv {

namespace {

int16_t ToInt16(int32_t v) {
  return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767));
}

// The hidden pointer integrates motion; keep it far from overflow however long it runs.
int32_t AddMotion(int32_t position, int32_t delta) {
  constexpr int64_t kLimit = 1000000000;
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{position} + delta, -kLimit, kLimit));
}

void ComputeMotion(InputState& input) {
  int32_t dx = 0, dy = 0;
  if (input.pointerVisible) {
    int32_t x = 0, y = 0;
    platform::ReadPointer(&x, &y);
    dx = x - input.pointerX;
    dy = y - input.pointerY;
    input.pointerX = x;
    input.pointerY = y;
  } else {
    platform::ReadRelativeMotion(&dx, &dy);
    input.pointerX = AddMotion(input.pointerX, dx);
    input.pointerY = AddMotion(input.pointerY, dy);
  }
  int32_t wheel = platform::TakeWheelMotion();
  input.cachedDx = ToInt16(dx);
  input.cachedDy = ToInt16(dy);
  input.cachedWheel = static_cast<int16_t>((wheel > 0) - (wheel < 0));
}

}  // namespace

bool SampleMouse(MouseSample* sample) {
  *sample = MouseSample();
  InputState* input = TheInput();
  if (input == nullptr) return false;
  TakeWindowMessages();
  if (input->freshMouse) {
    input->freshMouse = false;
    ComputeMotion(*input);
  }
  sample->dx = input->cachedDx;
  sample->dy = input->cachedDy;
  sample->wheel = input->cachedWheel;
  platform::PointerButtons buttons = platform::ReadPointerButtons();
  sample->button1 = buttons.left;
  sample->button2 = buttons.right;
  sample->button3 = buttons.middle;
  return true;
}

void ReportedPointer(const InputState& input, int32_t* x, int32_t* y) {
  ScreenShape screen = TheScreen();
  *x = screen.turned ? input.pointerY : input.pointerX;
  *y = screen.turned ? screen.width - 1 - input.pointerX : input.pointerY;
}

void MouseState(int32_t* x, int32_t* y, int32_t* button1, int32_t* button2) {
  MouseSample sample;
  SampleMouse(&sample);
  *x = *y = 0;
  *button1 = sample.button1 != 0;
  *button2 = sample.button2 != 0;
  InputState* input = TheInput();
  if (input == nullptr) return;
  ScreenShape screen = TheScreen();
  input->pointerX = std::clamp(input->pointerX, 0, screen.width - 1);
  input->pointerY = std::clamp(input->pointerY, 0, screen.height - 1);
  ReportedPointer(*input, x, y);
}

void MouseState(double* x, double* y, double* button1, double* button2) {
  int32_t ix, iy, b1, b2;
  MouseState(&ix, &iy, &b1, &b2);
  *x = ix;
  *y = iy;
  *button1 = b1;
  *button2 = b2;
}

// On a turned display the motion is that of the turned position MouseState reports.
int32_t MouseAxis(int32_t axis) {
  MouseSample sample;
  if (!SampleMouse(&sample)) return 0;
  bool turned = TheScreen().turned;
  switch (axis) {
    case 0:
      return turned ? sample.dy : sample.dx;
    case 1:
      return turned ? sample.dx : sample.dy;
    case 2:
      return sample.wheel;
    case 3:
      return sample.button1 != 0;
    case 4:
      return sample.button2 != 0;
    case 5:
      return sample.button3 != 0;
    default:
      return 0;
  }
}

void SetMousePosition(int32_t x, int32_t y) {
  if (InputState* input = TheInput()) {
    input->pointerX = x;
    input->pointerY = y;
  }
}

void ShowSystemPointer(double flag) {
  InputState* input = TheInput();
  if (input == nullptr) return;
  bool visible = flag != 0;
  platform::SetPointerHidden(!visible);
  if (visible && !input->pointerVisible) platform::MovePointer(input->pointerX, input->pointerY);
  input->pointerVisible = visible;
}

void MarkMouseFresh() {
  if (InputState* input = TheInput()) input->freshMouse = true;
}

void ReapplySystemPointer() {
  if (InputState* input = TheInput()) ShowSystemPointer(input->pointerVisible ? 1 : 0);
}

int32_t MouseCount() {
  return 1;
}

void SelectMouse(int32_t n) {
  if (InputState* input = TheInput()) input->selectedMouse = n < MouseCount() ? n : 0;
}

bool AnyMouseButton() {
  if (InputState* input = TheInput()) input->freshMouse = true;
  MouseSample sample;
  SampleMouse(&sample);
  return sample.button1 != 0 || sample.button2 != 0 || sample.button3 != 0;
}

}  // namespace qrv
