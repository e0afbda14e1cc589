// IPv4 addresses in the runtime's HostAddress: plain byte arithmetic, the same on every host.
#include <cstring>

#include "platform/socket_host.h"

namespace qrv::platform {

HostAddress Ipv4Address(uint32_t address, uint16_t port) {
  HostAddress result;
  // Network order: the highest byte first.
  for (int i = 0; i < 4; ++i) result.bytes[i] = static_cast<uint8_t>(address >> (24 - 8 * i));
  result.port = port;
  return result;
}

uint32_t Ipv4Of(const HostAddress& address) {
  static const uint8_t kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  const uint8_t* four = address.bytes;
  if (address.family == 6) {
    if (std::memcmp(address.bytes, kMapped, 12) != 0) return 0;
    four = address.bytes + 12;
  }
  return uint32_t{four[0]} << 24 | uint32_t{four[1]} << 16 | uint32_t{four[2]} << 8 | four[3];
}

}  // namespace qrv::platform
