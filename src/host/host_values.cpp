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

std::string MachineIdText(uint32_t serial) {
  uint32_t mixed = serial ^ kIdConstant;
  uint8_t bytes[4] = {static_cast<uint8_t>(mixed), static_cast<uint8_t>(mixed >> 8),
                      static_cast<uint8_t>(mixed >> 16), static_cast<uint8_t>(mixed >> 24)};
  return std::string(HexBytes(bytes, 4, true).View());
}

}  // namespace qrv::host
