// Joysticks on SDL: the standard sample filled from SDL's axes, hats and buttons, the
// pad sample from SDL's game controller where its database knows the device, and force
// feedback through SDL haptics, or rumble where the device has no haptics.
#include <SDL.h>

#include <algorithm>

#include "platform/input_host.h"

namespace qrv::platform {

struct JoystickDevice {
  SDL_Joystick* joystick = nullptr;
  SDL_Haptic* haptic = nullptr;
  SDL_GameController* controller = nullptr;  // null: no mapping for the device
  int effect = -1;
};

namespace {

// SDL reports -32768..32767; the sample's range is symmetric, -32768..32768.
int32_t ScaleAxis(Sint16 value) {
  return value > 0 ? (value * 32768 + 16383) / 32767 : value;
}

uint32_t HatHundredths(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return 0xFFFFFFFFu;
  }
}

// pad_codes.h's names in SDL's terms, in the order of the names' numbers.
constexpr SDL_GameControllerButton kPadButtons[kPadButtonCount] = {
    SDL_CONTROLLER_BUTTON_A,           SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,           SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,   SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_START,       SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_GUIDE,       SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,   SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};
constexpr SDL_GameControllerAxis kPadAxes[kPadAxisCount] = {
    SDL_CONTROLLER_AXIS_LEFTX,        SDL_CONTROLLER_AXIS_LEFTY,
    SDL_CONTROLLER_AXIS_RIGHTX,       SDL_CONTROLLER_AXIS_RIGHTY,
    SDL_CONTROLLER_AXIS_TRIGGERLEFT,  SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
};

bool PlayConstantForce(JoystickDevice* device, int32_t dirX, int32_t dirY, int32_t magnitude,
                       uint32_t durationMs) {
  SDL_Haptic* haptic = device->haptic;
  if (haptic == nullptr || !(SDL_HapticQuery(haptic) & SDL_HAPTIC_CONSTANT)) return false;
  SDL_HapticStopAll(haptic);
  if (device->effect >= 0) SDL_HapticDestroyEffect(haptic, device->effect);
  SDL_HapticEffect effect{};
  effect.type = SDL_HAPTIC_CONSTANT;
  effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
  effect.constant.direction.dir[0] = dirX;
  effect.constant.direction.dir[1] = dirY;
  effect.constant.length = durationMs;
  effect.constant.level = static_cast<Sint16>(std::min(magnitude, 10000) * 32767 / 10000);
  device->effect = SDL_HapticNewEffect(haptic, &effect);
  return device->effect >= 0 && SDL_HapticRunEffect(haptic, device->effect, 1) == 0;
}

}  // namespace

int32_t JoystickDeviceCount() {
  return std::max(SDL_NumJoysticks(), 0);
}

JoystickDevice* OpenJoystick(int32_t index) {
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  if (joystick == nullptr) return nullptr;
  auto* device = new JoystickDevice;
  device->joystick = joystick;
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_IsGameController(index)) {
    device->controller = SDL_GameControllerOpen(index);
  }
  if (SDL_WasInit(SDL_INIT_HAPTIC) && SDL_JoystickIsHaptic(joystick) == SDL_TRUE) {
    device->haptic = SDL_HapticOpenFromJoystick(joystick);
  }
  return device;
}

void CloseJoystick(JoystickDevice* device) {
  if (device->haptic != nullptr) SDL_HapticClose(device->haptic);
  if (device->controller != nullptr) SDL_GameControllerClose(device->controller);
  SDL_JoystickClose(device->joystick);
  delete device;
}

std::string JoystickDeviceName(JoystickDevice* device) {
  // SDL knows one name per device; it serves as both the instance and the product name.
  const char* name = SDL_JoystickName(device->joystick);
  std::string text = name != nullptr ? name : "Joystick";
  return text + ", " + text;
}

bool ReadJoystickDevice(JoystickDevice* device, JoystickSample* sample) {
  SDL_JoystickUpdate();
  SDL_Joystick* joystick = device->joystick;
  if (!SDL_JoystickGetAttached(joystick)) return false;
  int32_t* axes[8] = {&sample->x,  &sample->y,  &sample->z,          &sample->rx,
                      &sample->ry, &sample->rz, &sample->sliders[0], &sample->sliders[1]};
  int axisCount = std::min(SDL_JoystickNumAxes(joystick), 8);
  for (int i = 0; i < axisCount; ++i) *axes[i] = ScaleAxis(SDL_JoystickGetAxis(joystick, i));
  for (int i = 0; i < 4; ++i) {
    sample->hats[i] = i < SDL_JoystickNumHats(joystick)
                          ? HatHundredths(SDL_JoystickGetHat(joystick, i))
                          : 0xFFFFFFFFu;
  }
  int buttonCount = std::min(SDL_JoystickNumButtons(joystick), 32);
  for (int i = 0; i < buttonCount; ++i) {
    sample->buttons[i] = SDL_JoystickGetButton(joystick, i) ? 128 : 0;
  }
  return true;
}

bool ReadPadDevice(JoystickDevice* device, PadSample* sample) {
  SDL_GameController* controller = device->controller;
  if (controller == nullptr) return false;
  SDL_JoystickUpdate();
  if (!SDL_GameControllerGetAttached(controller)) return false;
  for (int i = 0; i < kPadAxisCount; ++i) {
    sample->axes[i] = SDL_GameControllerGetAxis(controller, kPadAxes[i]);
  }
  for (int i = 0; i < kPadButtonCount; ++i) {
    sample->buttons[i] = SDL_GameControllerGetButton(controller, kPadButtons[i]) != 0;
  }
  return true;
}

void PlayJoystickForce(JoystickDevice* device, int32_t dirX, int32_t dirY, int32_t magnitude,
                       uint32_t durationMs) {
  if (PlayConstantForce(device, dirX, dirY, magnitude, durationMs)) return;
  Uint16 strength = static_cast<Uint16>(std::clamp(magnitude, 0, 10000) * 65535 / 10000);
  SDL_JoystickRumble(device->joystick, strength, strength, durationMs);
}

}  // namespace qrv::platform
