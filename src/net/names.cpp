// The network's users count, names and addresses, and the last error as text.
#include <cstdio>

#include "frame/runtime.h"
#include "net/resolve.h"
#include "net/socket_io.h"
#include "net/socket_table.h"
#include "quorvia/net.h"

namespace qrv {

using net::LastNetError;
using net::SetLastNetError;

int32_t NetStart() {
  return net::StartNetwork();
}

void NetStop() {
  net::StopNetwork();
}

RtString NetLocalAddresses() {
  constexpr size_t kMaxText = 2047;
  std::string text;
  for (uint32_t address : platform::LocalIpv4Addresses()) {
    std::string item = NetAddressText(static_cast<int32_t>(address)).c_str();
    if (text.size() + item.size() + 1 > kMaxText) break;
    text += item + "|";
  }
  if (!text.empty()) text.pop_back();
  return RtString(text.c_str());
}

int32_t NetLastError() {
  return LastNetError();
}

RtString NetErrorText() {
  int32_t code = LastNetError();
  std::string message = platform::SocketErrorMessage(code);
  if (message.empty()) return RtString();
  char text[512];
  std::snprintf(text, sizeof text, "%d %s", code, message.c_str());
  return RtString(text);
}

int32_t NetResolve(const RtString& host) {
  platform::HostAddress address;
  if (!net::ResolveHost(host.c_str(), 0, true, address)) {
    return net::SayFailure("NetResolve", host.c_str(), -1);
  }
  return static_cast<int32_t>(platform::Ipv4Of(address));
}

RtString NetAddressText(int32_t address) {
  uint32_t bits = static_cast<uint32_t>(address);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", bits >> 24, (bits >> 16) & 255, (bits >> 8) & 255,
                bits & 255);
  return RtString(text);
}

namespace net {

static bool LookUpFirst(const std::string& name, uint16_t port, bool ipv4Only,
                        platform::HostAddress& address) {
  auto found = platform::LookUpHost(name, ipv4Only);
  if (found.empty()) {
    SetLastNetError(platform::LastSocketError());
    return false;
  }
  address = found.front();
  address.port = port;
  return true;
}

bool ResolveHost(const std::string& host, uint16_t port, bool ipv4Only,
                 platform::HostAddress& address) {
  address = platform::HostAddress{};
  // An IPv6 address may come in brackets, as it is written before a port.
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    return LookUpFirst(host.substr(1, host.size() - 2), port, ipv4Only, address);
  }
  if (!host.empty()) return LookUpFirst(host, port, ipv4Only, address);
  auto local = platform::LocalIpv4Addresses();
  if (!local.empty()) {
    address = platform::Ipv4Address(local.front(), port);
    return true;
  }
  return LookUpFirst("127.0.0.1", port, true, address) ||
         LookUpFirst("localhost.local", port, ipv4Only, address);
}

int32_t SayFailure(const char* command, const std::string& about, int32_t result, const char* why) {
  std::string reason = why != nullptr ? why : NetErrorText().c_str();
  if (reason.empty()) reason = "network error " + std::to_string(LastNetError());
  ReportFailure(ErrorContext{command, about, reason});
  return result;
}

int32_t ClampConnectTimeout(int32_t ms) {
  return ms >= 1 && ms <= 30000 ? ms : 30000;
}

}  // namespace net
}  // namespace qrv
