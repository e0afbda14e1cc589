// The plain answers of the platform information keys: time, battery and machine id.
#include <cstdio>

#include "host/host_rules.h"
#include "quorvia/values.h"

namespace qrv::host {

// Mixed into the machine's serial, so the "ID" answer is this runtime's own view of it.
constexpr uint32_t kIdConstant = 0x5A17C3E9;

std::string TimeText(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                second);
  return text;
}

std::string BatteryText(bool hasBattery, int percent) {
  if (!hasBattery) return "NO_DATA";
  if (percent < 0 || percent > 100) percent = 100;
  return std::to_string(percent);
}

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

uint32_t MachineSerial(std::string_view machineId) {
  if (machineId.size() < 32) return kFallbackSerial;
  if (machineId.size() > 32 && machineId[32] != '\n') return kFallbackSerial;
  uint32_t serial = 0;
  for (size_t word = 0; word < 4; ++word) {
    uint32_t value = 0;
    for (size_t i = word * 8; i < word * 8 + 8; ++i) {
      int digit = HexDigit(machineId[i]);
      if (digit < 0) return kFallbackSerial;
      value = value << 4 | static_cast<uint32_t>(digit);
    }
    serial ^= value;
  }
  return serial;
}

std::string MachineIdText(uint32_t serial) {
  uint32_t mixed = serial ^ kIdConstant;
  uint8_t bytes[4] = {static_cast<uint8_t>(mixed), static_cast<uint8_t>(mixed >> 8),
                      static_cast<uint8_t>(mixed >> 16), static_cast<uint8_t>(mixed >> 24)};
  return std::string(HexBytes(bytes, 4, true).View());
}

}  // namespace qrv::host
