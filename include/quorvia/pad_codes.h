// Names for the buttons and axes of a gamepad, as PadButton and PadAxis read them. A name
// stands for a place on the pad, whatever the pad prints there: kPadSouth is the lowest of
// the four face buttons (the one under the right thumb), kPadEast the one right of it, and
// so on round the diamond.
#pragma once

#include <cstdint>

namespace qrv {

// Buttons: the face diamond, the shoulders, the sticks pressed in, the middle three, the
// direction pad.
inline constexpr int32_t kPadSouth = 0;
inline constexpr int32_t kPadEast = 1;
inline constexpr int32_t kPadWest = 2;
inline constexpr int32_t kPadNorth = 3;
inline constexpr int32_t kPadLeftShoulder = 4;
inline constexpr int32_t kPadRightShoulder = 5;
inline constexpr int32_t kPadLeftStick = 6;
inline constexpr int32_t kPadRightStick = 7;
inline constexpr int32_t kPadStart = 8;
inline constexpr int32_t kPadBack = 9;
inline constexpr int32_t kPadGuide = 10;
inline constexpr int32_t kPadDpadUp = 11;
inline constexpr int32_t kPadDpadDown = 12;
inline constexpr int32_t kPadDpadLeft = 13;
inline constexpr int32_t kPadDpadRight = 14;
inline constexpr int32_t kPadButtonCount = 15;

// Axes: the sticks (X right positive, Y down positive) and the triggers.
inline constexpr int32_t kPadLeftX = 0;
inline constexpr int32_t kPadLeftY = 1;
inline constexpr int32_t kPadRightX = 2;
inline constexpr int32_t kPadRightY = 3;
inline constexpr int32_t kPadLeftTrigger = 4;
inline constexpr int32_t kPadRightTrigger = 5;
inline constexpr int32_t kPadAxisCount = 6;

}  // namespace qrv
