// Joysticks: up to ten devices found at set-up, read into the standard sample, with the
// axis, hat and button queries and force feedback on top; and the ones SDL's controller
// database knows read as pads, by name.
#include <algorithm>
#include <cmath>

#include "input/input_state.h"
#include "platform/input_host.h"

namespace qrv {

namespace {

platform::JoystickDevice* DeviceAt(int32_t index) {
  InputState* input = TheInput();
  if (input == nullptr || index < 0 || index >= input->joystickCount) return nullptr;
  return input->joysticks[index];
}

JoystickSample Read(int32_t index) {
  JoystickSample sample;
  ReadJoystick(&sample, index);
  return sample;
}

platform::PadSample ReadPad(int32_t pad) {
  platform::PadSample sample;
  if (TheInput() != nullptr) TakeWindowMessages();
  platform::JoystickDevice* device = DeviceAt(pad);
  if (device != nullptr) platform::ReadPadDevice(device, &sample);  // all zero when it fails
  return sample;
}

double Scaled(int32_t value) {
  return std::clamp(value / 32767.0, -1.0, 1.0);
}

bool Turned() {
  return TheScreen().turned;
}

// A hat's direction in eighths of a turn clockwise from up; -1 when centred or odd.
int32_t HatOctant(uint32_t hat) {
  return hat < 36000 && hat % 4500 == 0 ? hat / 4500 : -1;
}

// NaN counts as 0; everything else is clamped into range.
double ClampUnit(double v) {
  return std::isnan(v) ? 0.0 : std::clamp(v, -1.0, 1.0);
}

}  // namespace

int32_t JoystickCount() {
  return TheInput() != nullptr ? TheInput()->joystickCount : 0;
}

RtString JoystickName(int32_t index) {
  if (DeviceAt(index) == nullptr) return RtString();
  return RtString(TheInput()->joystickNames[index].c_str());
}

int32_t ReadJoystick(JoystickSample* sample, int32_t index) {
  *sample = JoystickSample();
  if (TheInput() != nullptr) TakeWindowMessages();
  platform::JoystickDevice* device = DeviceAt(index);
  if (device != nullptr && !platform::ReadJoystickDevice(device, sample)) {
    *sample = JoystickSample();
  }
  return 1;
}

double JoystickX(int32_t index) {
  JoystickSample s = Read(index);
  return Turned() ? -Scaled(s.y) : Scaled(s.x);
}
double JoystickY(int32_t index) {
  JoystickSample s = Read(index);
  return Turned() ? Scaled(s.x) : Scaled(s.y);
}
double JoystickZ(int32_t index) {
  return Scaled(Read(index).z);
}
double JoystickRX(int32_t index) {
  return Scaled(Read(index).rx);
}
double JoystickRY(int32_t index) {
  return Scaled(Read(index).ry);
}
double JoystickRZ(int32_t index) {
  return Scaled(Read(index).rz);
}

double JoystickHatX(int32_t index) {
  static constexpr int8_t kX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
  int32_t octant = HatOctant(Read(index).hats[0]);
  return octant < 0 ? 0 : kX[octant];
}

double JoystickHatY(int32_t index) {
  static constexpr int8_t kY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  int32_t octant = HatOctant(Read(index).hats[0]);
  return octant < 0 ? 0 : kY[octant];
}

int32_t JoystickButton(int32_t index, int32_t button) {
  if (button < 0 || button > 31) return 0;
  return Read(index).buttons[button];
}

void JoystickState(double* x, double* y, double* button1, double* button2) {
  JoystickSample s = Read(0);
  *x = s.x / 30000;
  *y = s.y / 30000;
  *button1 = s.buttons[0];
  *button2 = s.buttons[1];
}

void JoystickForce(int32_t index, double duration, double x, double y) {
  platform::JoystickDevice* device = DeviceAt(index);
  if (device == nullptr) return;
  x = ClampUnit(x);
  y = ClampUnit(y);
  // Durations beyond about 24 days, negative or not a number are refused rather than wrapped.
  double ms = std::isnan(duration) ? 0.0 : std::clamp(std::round(duration), 0.0, 2147483647.0);
  int32_t magnitude = static_cast<int32_t>(std::lround((x * x + y * y) * 10000 * 0.5));
  platform::PlayJoystickForce(device, static_cast<int32_t>(std::lround(x * 32767)),
                              static_cast<int32_t>(std::lround(y * 32767)), magnitude,
                              static_cast<uint32_t>(ms));
}

int32_t PadButton(int32_t pad, int32_t button) {
  if (button < 0 || button >= kPadButtonCount) return 0;
  return ReadPad(pad).buttons[button] ? 1 : 0;
}

double PadAxis(int32_t pad, int32_t axis) {
  if (axis < 0 || axis >= kPadAxisCount) return 0;
  const platform::PadSample s = ReadPad(pad);
  if (Turned() && axis <= kPadRightY) {
    // A stick turns as JoystickX and JoystickY do: X reads -Y, Y reads X.
    const int32_t stick = axis - axis % 2;
    return axis % 2 == 0 ? -Scaled(s.axes[stick + 1]) : Scaled(s.axes[stick]);
  }
  return Scaled(s.axes[axis]);
}

}  // namespace qrv
