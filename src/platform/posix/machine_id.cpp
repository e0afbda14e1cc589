// The machine's serial on a POSIX host: the four 32-bit words of the machine id (32 hex
// digits, as in /etc/machine-id) combined by XOR.
#include "platform/posix/desktop_rules.h"

namespace qrv::platform::posix {

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

}  // namespace qrv::platform::posix
