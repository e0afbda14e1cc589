// TCP and UDP socket commands on the socket table. No call waits longer than its
// time-out: connects wait at most 30 s, receives never, sends at most 5 s without progress.
#include <algorithm>
#include <memory>

#include "net/resolve.h"
#include "net/socket_io.h"
#include "net/socket_table.h"
#include "platform/platform.h"
#include "quorvia/net.h"

namespace qrv {

using net::SetLastNetError;
using net::SocketEntry;

namespace {

// A send that has made no progress for this long gives up (the peer does not read).
constexpr uint32_t kSendStallMs = 5000;
// A waiting send tries again this often: the host reports room to write only once much of
// its queue is free, long after a slow reader has begun taking data.
constexpr int32_t kSendRetryMs = 50;
// The most one receive reads, whatever size is asked.
constexpr int32_t kMaxReceive = 1 << 20;

void StoreHostError() {
  SetLastNetError(platform::LastSocketError());
}

// Opens, sets up and binds a listening socket of one family; -1 on failure.
int OpenListener(int family, uint16_t port, platform::HostAddress& bound) {
  int s = platform::OpenStreamSocket(family);
  if (s < 0) return -1;
  bound = platform::HostAddress{};
  bound.family = family;
  bound.port = port;
  if (platform::SetAddressReuse(s) && platform::BindSocket(s, bound) &&
      platform::ListenOnSocket(s, 10)) {
    return s;
  }
  platform::CloseSocket(s);
  return -1;
}

// Fills a reserved handle with a new socket, or releases it and closes the socket.
int32_t Settle(int32_t handle, int socket, const platform::HostAddress& address, bool datagram) {
  if (socket < 0) {
    StoreHostError();
    net::ReleaseEntry(handle);
    return -1;
  }
  net::FillEntry(handle, SocketEntry{socket, address, datagram});
  return handle;
}

int32_t SendAll(int32_t handle, const char* bytes, uint32_t count,
                const platform::HostAddress* target) {
  SocketEntry entry;
  if (!net::FindEntry(handle, entry)) return -1;
  if (entry.datagram && target == nullptr) {
    SetLastNetError(10039);
    return -1;
  }
  if (!entry.datagram) target = nullptr;
  uint32_t sent = 0;
  uint32_t progress = platform::TickCount();
  do {
    int64_t n = platform::SendOnSocket(entry.socket, bytes + sent, count - sent, target);
    SetLastNetError(n < 0 ? platform::LastSocketError() : 0);
    if (n > 0 || (n == 0 && count == 0)) {
      sent += static_cast<uint32_t>(n);
      progress = platform::TickCount();
      continue;
    }
    if (n < 0 && net::LastNetError() != 10035) return -1;
    if (platform::TickCount() - progress >= kSendStallMs) {
      SetLastNetError(10035);
      return -1;
    }
    if (platform::WaitForSocket(entry.socket, true, kSendRetryMs) < 0) {
      StoreHostError();
      return -1;
    }
  } while (sent < count);
  return static_cast<int32_t>(sent);
}

std::string PortText(int32_t port) {
  return "port " + std::to_string(port & 0xFFFF);
}

}  // namespace

int32_t TcpListen(int32_t port) {
  int32_t handle = net::ReserveEntry();
  if (handle >= 0) {
    uint16_t hostPort = static_cast<uint16_t>(port & 0xFFFF);
    platform::HostAddress bound;
    int s = OpenListener(6, hostPort, bound);
    if (s < 0) s = OpenListener(4, hostPort, bound);
    handle = Settle(handle, s, bound, false);
  }
  return handle >= 0 ? handle : net::SayFailure("TcpListen", PortText(port), -1);
}

int32_t TcpAccept(int32_t listenHandle, int32_t& address) {
  SocketEntry listener;
  std::string about = "handle " + std::to_string(listenHandle);
  if (!net::FindEntry(listenHandle, listener)) return net::SayFailure("TcpAccept", about, -1);
  if (listener.datagram) {
    SetLastNetError(0);
    return net::SayFailure("TcpAccept", about, -1, "a UDP handle");
  }
  int ready = platform::WaitForSocket(listener.socket, false, 0);
  if (ready <= 0) {
    if (ready < 0) StoreHostError();
    return -1;
  }
  platform::HostAddress peer;
  int s = platform::AcceptOnSocket(listener.socket, peer);
  if (s < 0) {
    StoreHostError();
    return -1;
  }
  int32_t handle = net::ReserveEntry();
  if (handle < 0) {
    platform::CloseSocket(s);
    return -1;
  }
  address = static_cast<int32_t>(platform::Ipv4Of(peer));
  return Settle(handle, s, listener.address, false);
}

int32_t TcpConnect(const RtString& host, int32_t port, int32_t timeoutMs) {
  platform::HostAddress address;
  int32_t handle = -1;
  if (net::ResolveHost(host.c_str(), static_cast<uint16_t>(port & 0xFFFF), false, address)) {
    handle = net::ConnectTo(address, net::ClampConnectTimeout(timeoutMs));
  }
  if (handle >= 0) return handle;
  return net::SayFailure("TcpConnect", std::string(host.c_str()) + " " + PortText(port), -1);
}

int32_t net::ConnectTo(const platform::HostAddress& address, int32_t timeoutMs) {
  if (address.family == 4 && platform::Ipv4Of(address) == 0 && address.port == 0) return -1;
  int32_t handle = ReserveEntry();
  if (handle < 0) return -1;
  int s = platform::OpenStreamSocket(address.family);
  if (s < 0) return Settle(handle, s, address, false);
  int32_t code = 0;
  if (!platform::StartConnect(s, address)) {
    code = platform::LastSocketError();
    if (code == 10035 || code == 10036) {
      int ready = platform::WaitForSocket(s, true, timeoutMs);
      code = ready == 0  ? 10036
             : ready < 0 ? platform::LastSocketError()
                         : platform::ConnectResult(s);
    }
  }
  if (code != 0) {
    SetLastNetError(code);
    ReleaseEntry(handle);
    platform::CloseSocket(s);
    return -1;
  }
  return Settle(handle, s, address, false);
}

namespace {

int32_t OpenUdp(int32_t port) {
  int32_t handle = net::ReserveEntry();
  if (handle < 0) return -1;
  platform::HostAddress any = platform::Ipv4Address(0, static_cast<uint16_t>(port & 0xFFFF));
  int s = platform::OpenDatagramSocket();
  if (s >= 0) {
    platform::SetAddressReuse(s);
    if (any.port != 0 && !platform::BindSocket(s, any)) {
      int32_t code = platform::LastSocketError();
      platform::CloseSocket(s);
      SetLastNetError(code);
      net::ReleaseEntry(handle);
      return -1;
    }
    platform::SetBroadcast(s);
  }
  return Settle(handle, s, any, true);
}

}  // namespace

int32_t UdpOpen(int32_t port) {
  int32_t handle = OpenUdp(port);
  return handle >= 0 ? handle : net::SayFailure("UdpOpen", PortText(port), -1);
}

int32_t SocketSend(int32_t handle, const RtString& data) {
  int32_t sent = SendAll(handle, data.c_str(), data.Length(), nullptr);
  return sent >= 0 ? sent : net::SayFailure("SocketSend", "handle " + std::to_string(handle), -1);
}

int32_t UdpSend(int32_t handle, const RtString& data, int32_t address, int32_t port) {
  uint16_t hostPort = static_cast<uint16_t>(port & 0xFFFF);
  int32_t sent = -1;
  if (address == 0 && hostPort == 0) {
    SetLastNetError(10039);
  } else {
    platform::HostAddress target = platform::Ipv4Address(static_cast<uint32_t>(address), hostPort);
    sent = SendAll(handle, data.c_str(), data.Length(), &target);
  }
  return sent >= 0 ? sent : net::SayFailure("UdpSend", "handle " + std::to_string(handle), -1);
}

int32_t net::ReceiveInto(int32_t handle, char* buffer, int32_t size) {
  SocketEntry entry;
  if (!FindEntry(handle, entry)) return -1;
  if (size < 1) {
    SetLastNetError(10022);
    return -1;
  }
  int64_t n = platform::ReceiveOnSocket(entry.socket, buffer, static_cast<size_t>(size));
  SetLastNetError(n < 0 ? platform::LastSocketError() : 0);
  if (n >= 0) return static_cast<int32_t>(n);
  if (LastNetError() == 10054) return 0;
  return LastNetError() == 10035 ? -2 : -1;
}

int32_t net::WaitReadable(int32_t handle, int32_t ms) {
  SocketEntry entry;
  if (!FindEntry(handle, entry)) return -1;
  int ready = platform::WaitForSocket(entry.socket, false, ms);
  if (ready < 0) StoreHostError();
  return ready;
}

int32_t SocketReceive(int32_t handle, RtString& data, int32_t size) {
  data.Clear();
  std::unique_ptr<char[]> buffer(new char[std::clamp(size, 1, kMaxReceive)]);
  int32_t n = net::ReceiveInto(handle, buffer.get(), std::min(size, kMaxReceive));
  if (n > 0) data = RtString(buffer.get(), static_cast<uint32_t>(n));
  return n != -1 ? n : net::SayFailure("SocketReceive", "handle " + std::to_string(handle), -1);
}

int32_t SocketClose(int32_t handle) {
  SocketEntry entry;
  std::string about = "handle " + std::to_string(handle);
  if (!net::TakeEntry(handle, entry)) return net::SayFailure("SocketClose", about, 0);
  if (platform::CloseSocket(entry.socket)) return 1;
  StoreHostError();
  return net::SayFailure("SocketClose", about, 0);
}

}  // namespace qrv
