// Name resolution shared by the socket, session and HTTP commands.
#pragma once

#include <cstdint>
#include <string>

#include "platform/socket_host.h"

namespace qrv::net {

// Resolves a name to its first address at port. "" means this machine: its first
// non-loopback IPv4 address, else "127.0.0.1", else "localhost.local". IPv4 results come
// first; ipv4Only leaves IPv6 out. A name in brackets ("[::1]") is the name inside them.
// False (error stored) when nothing resolves.
bool ResolveHost(const std::string& host, uint16_t port, bool ipv4Only,
                 platform::HostAddress& address);

}  // namespace qrv::net
