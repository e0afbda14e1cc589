// Socket addresses between the runtime's HostAddress and the host's sockaddr structures,
// which both hosts' socket interfaces share. Include it after the host's socket headers
// (<netdb.h>, <netinet/in.h> and <arpa/inet.h>, or <winsock2.h> and <ws2tcpip.h>).
#pragma once

#include <cstring>
#include <vector>

#include "platform/socket_host.h"

namespace qrv::platform {

// Fills out; the length of the filled structure.
inline int ToSockaddr(const HostAddress& address, sockaddr_storage& out) {
  std::memset(&out, 0, sizeof out);
  if (address.family == 6) {
    auto* six = reinterpret_cast<sockaddr_in6*>(&out);
    six->sin6_family = AF_INET6;
    six->sin6_port = htons(address.port);
    std::memcpy(&six->sin6_addr, address.bytes, 16);
    return static_cast<int>(sizeof(sockaddr_in6));
  }
  auto* four = reinterpret_cast<sockaddr_in*>(&out);
  four->sin_family = AF_INET;
  four->sin_port = htons(address.port);
  std::memcpy(&four->sin_addr, address.bytes, 4);
  return static_cast<int>(sizeof(sockaddr_in));
}

inline HostAddress FromSockaddr(const sockaddr* in) {
  HostAddress address;
  if (in->sa_family == AF_INET6) {
    const auto* six = reinterpret_cast<const sockaddr_in6*>(in);
    address.family = 6;
    address.port = ntohs(six->sin6_port);
    std::memcpy(address.bytes, &six->sin6_addr, 16);
  } else if (in->sa_family == AF_INET) {
    const auto* four = reinterpret_cast<const sockaddr_in*>(in);
    address.port = ntohs(four->sin_port);
    std::memcpy(address.bytes, &four->sin_addr, 4);
  }
  return address;
}

// The addresses of a look-up's results: the IPv4 ones first, then the IPv6 ones.
inline std::vector<HostAddress> AddressesOf(const addrinfo* list) {
  std::vector<HostAddress> found;
  for (int family : {AF_INET, AF_INET6}) {
    for (const addrinfo* item = list; item != nullptr; item = item->ai_next) {
      if (item->ai_family == family) found.push_back(FromSockaddr(item->ai_addr));
    }
  }
  return found;
}

}  // namespace qrv::platform
