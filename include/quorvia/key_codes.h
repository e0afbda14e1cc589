// Names for the key codes that KeyDown and the replay scripts use: set-1 scan codes, keys of
// the extended set with 0x80 added. A code names a place on the keyboard, not a letter, so
// kKeyQ is the key left of W whatever the layout prints on it.
#pragma once

#include <cstdint>

namespace qrv {

// The main block, row by row.
inline constexpr int32_t kKeyEscape = 0x01;
inline constexpr int32_t kKey1 = 0x02;
inline constexpr int32_t kKey2 = 0x03;
inline constexpr int32_t kKey3 = 0x04;
inline constexpr int32_t kKey4 = 0x05;
inline constexpr int32_t kKey5 = 0x06;
inline constexpr int32_t kKey6 = 0x07;
inline constexpr int32_t kKey7 = 0x08;
inline constexpr int32_t kKey8 = 0x09;
inline constexpr int32_t kKey9 = 0x0A;
inline constexpr int32_t kKey0 = 0x0B;
inline constexpr int32_t kKeyMinus = 0x0C;
inline constexpr int32_t kKeyEquals = 0x0D;
inline constexpr int32_t kKeyBackspace = 0x0E;
inline constexpr int32_t kKeyTab = 0x0F;
inline constexpr int32_t kKeyQ = 0x10;
inline constexpr int32_t kKeyW = 0x11;
inline constexpr int32_t kKeyE = 0x12;
inline constexpr int32_t kKeyR = 0x13;
inline constexpr int32_t kKeyT = 0x14;
inline constexpr int32_t kKeyY = 0x15;
inline constexpr int32_t kKeyU = 0x16;
inline constexpr int32_t kKeyI = 0x17;
inline constexpr int32_t kKeyO = 0x18;
inline constexpr int32_t kKeyP = 0x19;
inline constexpr int32_t kKeyLeftBracket = 0x1A;
inline constexpr int32_t kKeyRightBracket = 0x1B;
inline constexpr int32_t kKeyReturn = 0x1C;
inline constexpr int32_t kKeyLeftControl = 0x1D;
inline constexpr int32_t kKeyA = 0x1E;
inline constexpr int32_t kKeyS = 0x1F;
inline constexpr int32_t kKeyD = 0x20;
inline constexpr int32_t kKeyF = 0x21;
inline constexpr int32_t kKeyG = 0x22;
inline constexpr int32_t kKeyH = 0x23;
inline constexpr int32_t kKeyJ = 0x24;
inline constexpr int32_t kKeyK = 0x25;
inline constexpr int32_t kKeyL = 0x26;
inline constexpr int32_t kKeySemicolon = 0x27;
inline constexpr int32_t kKeyApostrophe = 0x28;
inline constexpr int32_t kKeyGrave = 0x29;
inline constexpr int32_t kKeyLeftShift = 0x2A;
inline constexpr int32_t kKeyBackslash = 0x2B;
inline constexpr int32_t kKeyZ = 0x2C;
inline constexpr int32_t kKeyX = 0x2D;
inline constexpr int32_t kKeyC = 0x2E;
inline constexpr int32_t kKeyV = 0x2F;
inline constexpr int32_t kKeyB = 0x30;
inline constexpr int32_t kKeyN = 0x31;
inline constexpr int32_t kKeyM = 0x32;
inline constexpr int32_t kKeyComma = 0x33;
inline constexpr int32_t kKeyPeriod = 0x34;
inline constexpr int32_t kKeySlash = 0x35;
inline constexpr int32_t kKeyRightShift = 0x36;
inline constexpr int32_t kKeyLeftAlt = 0x38;
inline constexpr int32_t kKeySpace = 0x39;
inline constexpr int32_t kKeyCapsLock = 0x3A;
inline constexpr int32_t kKeyNonUsBackslash = 0x56;

// Function keys.
inline constexpr int32_t kKeyF1 = 0x3B;
inline constexpr int32_t kKeyF2 = 0x3C;
inline constexpr int32_t kKeyF3 = 0x3D;
inline constexpr int32_t kKeyF4 = 0x3E;
inline constexpr int32_t kKeyF5 = 0x3F;
inline constexpr int32_t kKeyF6 = 0x40;
inline constexpr int32_t kKeyF7 = 0x41;
inline constexpr int32_t kKeyF8 = 0x42;
inline constexpr int32_t kKeyF9 = 0x43;
inline constexpr int32_t kKeyF10 = 0x44;
inline constexpr int32_t kKeyF11 = 0x57;
inline constexpr int32_t kKeyF12 = 0x58;

// The keypad.
inline constexpr int32_t kKeyNumLock = 0x45;
inline constexpr int32_t kKeyScrollLock = 0x46;
inline constexpr int32_t kKeyPadMultiply = 0x37;
inline constexpr int32_t kKeyPad7 = 0x47;
inline constexpr int32_t kKeyPad8 = 0x48;
inline constexpr int32_t kKeyPad9 = 0x49;
inline constexpr int32_t kKeyPadMinus = 0x4A;
inline constexpr int32_t kKeyPad4 = 0x4B;
inline constexpr int32_t kKeyPad5 = 0x4C;
inline constexpr int32_t kKeyPad6 = 0x4D;
inline constexpr int32_t kKeyPadPlus = 0x4E;
inline constexpr int32_t kKeyPad1 = 0x4F;
inline constexpr int32_t kKeyPad2 = 0x50;
inline constexpr int32_t kKeyPad3 = 0x51;
inline constexpr int32_t kKeyPad0 = 0x52;
inline constexpr int32_t kKeyPadPeriod = 0x53;
inline constexpr int32_t kKeyPadEnter = 0x9C;
inline constexpr int32_t kKeyPadDivide = 0xB5;

// Right-hand modifiers, the system keys and the navigation block (extended: 0x80 set).
inline constexpr int32_t kKeyRightControl = 0x9D;
inline constexpr int32_t kKeyRightAlt = 0xB8;
inline constexpr int32_t kKeyPrintScreen = 0xB7;
inline constexpr int32_t kKeyPause = 0xC5;
inline constexpr int32_t kKeyHome = 0xC7;
inline constexpr int32_t kKeyUp = 0xC8;
inline constexpr int32_t kKeyPageUp = 0xC9;
inline constexpr int32_t kKeyLeft = 0xCB;
inline constexpr int32_t kKeyRight = 0xCD;
inline constexpr int32_t kKeyEnd = 0xCF;
inline constexpr int32_t kKeyDown = 0xD0;
inline constexpr int32_t kKeyPageDown = 0xD1;
inline constexpr int32_t kKeyInsert = 0xD2;
inline constexpr int32_t kKeyDelete = 0xD3;
inline constexpr int32_t kKeyLeftSuper = 0xDB;
inline constexpr int32_t kKeyRightSuper = 0xDC;
inline constexpr int32_t kKeyMenu = 0xDD;

}  // namespace qrv
