// Host sockets on Windows: Winsock 2, started once on first use. Its error codes are the
// runtime's network codes already (10035 would block, 10036 in progress, 10054 reset,
// 11001 host not found, ...), so they pass through unchanged.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

#include "platform/sockaddr_conversion.h"
#include "platform/socket_host.h"
#include "platform/windows/wide_text.h"

namespace qrv::platform {

namespace {

thread_local int32_t tLastError = 0;

// Winsock is started once per process, before the first socket call; false when it
// cannot be (the code says why).
bool Started() {
  static const int result = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  if (result != 0) tLastError = result;
  return result == 0;
}

void NoteError() { tLastError = WSAGetLastError(); }

bool Succeeded(int result) {
  if (result == 0) return true;
  NoteError();
  return false;
}

SOCKET Raw(int socket) { return static_cast<SOCKET>(socket); }

// Winsock hands out small handle values; the runtime keeps them as int, -1 for none.
int Handle(SOCKET socket) {
  if (socket == INVALID_SOCKET) {
    NoteError();
    return -1;
  }
  return static_cast<int>(socket);
}

bool MakeNonBlocking(int socket) {
  u_long on = 1;
  return Succeeded(ioctlsocket(Raw(socket), FIONBIO, &on));
}

int NewSocket(int family, int type, int protocol) {
  if (!Started()) return -1;
  int s = Handle(WSASocketW(family, type, protocol, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT));
  if (s >= 0 && !MakeNonBlocking(s)) {
    closesocket(Raw(s));
    return -1;
  }
  return s;
}

bool SetOption(int socket, int level, int name, int value) {
  return Succeeded(
      setsockopt(Raw(socket), level, name, reinterpret_cast<const char*>(&value), sizeof value));
}

}  // namespace

int32_t LastSocketError() { return tLastError; }

std::string SocketErrorMessage(int32_t code) {
  return code == 0 ? std::string() : windows::SystemMessage(static_cast<unsigned long>(code));
}

int OpenStreamSocket(int family) {
  int s = NewSocket(family == 6 ? AF_INET6 : AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s >= 0 && family == 6) {
    DWORD off = 0;
    setsockopt(Raw(s), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&off), sizeof off);
  }
  return s;
}

int OpenDatagramSocket() { return NewSocket(AF_INET, SOCK_DGRAM, IPPROTO_UDP); }

bool SetAddressReuse(int socket) { return SetOption(socket, SOL_SOCKET, SO_REUSEADDR, 1); }

bool SetBroadcast(int socket) { return SetOption(socket, SOL_SOCKET, SO_BROADCAST, 1); }

void SetSendBuffer(int socket, int bytes) {
  setsockopt(Raw(socket), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&bytes),
             sizeof bytes);
}

bool BindSocket(int socket, const HostAddress& address) {
  sockaddr_storage raw;
  int length = ToSockaddr(address, raw);
  return Succeeded(bind(Raw(socket), reinterpret_cast<sockaddr*>(&raw), length));
}

bool ListenOnSocket(int socket, int backlog) { return Succeeded(listen(Raw(socket), backlog)); }

int AcceptOnSocket(int socket, HostAddress& peer) {
  sockaddr_storage raw;
  int length = sizeof raw;
  int s = Handle(accept(Raw(socket), reinterpret_cast<sockaddr*>(&raw), &length));
  if (s < 0) return -1;
  SetHandleInformation(reinterpret_cast<HANDLE>(Raw(s)), HANDLE_FLAG_INHERIT, 0);
  if (!MakeNonBlocking(s)) {
    closesocket(Raw(s));
    return -1;
  }
  peer = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  return s;
}

bool StartConnect(int socket, const HostAddress& address) {
  sockaddr_storage raw;
  int length = ToSockaddr(address, raw);
  if (connect(Raw(socket), reinterpret_cast<sockaddr*>(&raw), length) == 0) return true;
  NoteError();
  // Winsock says "would block" where the connection is on its way.
  if (tLastError == WSAEWOULDBLOCK) tLastError = WSAEINPROGRESS;
  return false;
}

int WaitForSocket(int socket, bool forWriting, int32_t ms) {
  WSAPOLLFD entry{Raw(socket), static_cast<SHORT>(forWriting ? POLLWRNORM : POLLRDNORM), 0};
  int n = WSAPoll(&entry, 1, ms);
  if (n < 0) NoteError();
  return n;
}

int32_t ConnectResult(int socket) {
  int error = 0;
  int length = sizeof error;
  if (getsockopt(Raw(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) !=
      0) {
    error = WSAGetLastError();
  }
  return error;
}

int64_t SendOnSocket(int socket, const void* bytes, size_t count, const HostAddress* target) {
  int size = static_cast<int>(std::min<size_t>(count, 0x7FFFFFFF));
  int n;
  if (target != nullptr) {
    sockaddr_storage raw;
    int length = ToSockaddr(*target, raw);
    n = sendto(Raw(socket), static_cast<const char*>(bytes), size, 0,
               reinterpret_cast<sockaddr*>(&raw), length);
  } else {
    n = send(Raw(socket), static_cast<const char*>(bytes), size, 0);
  }
  if (n < 0) NoteError();
  return n;
}

namespace {

// Some Winsock implementations (Wine's among them) hand a reset connection's end to recv as
// an orderly one once the socket has been polled; the poll still flags the error, which an
// orderly end never does.
bool EndedByReset(int socket) {
  WSAPOLLFD entry{Raw(socket), POLLRDNORM, 0};
  return WSAPoll(&entry, 1, 0) == 1 && (entry.revents & POLLERR) != 0;
}

}  // namespace

int64_t ReceiveOnSocket(int socket, void* bytes, size_t count) {
  int size = static_cast<int>(std::min<size_t>(count, 0x7FFFFFFF));
  int n = recv(Raw(socket), static_cast<char*>(bytes), size, 0);
  if (n < 0) NoteError();
  if (n == 0 && count > 0 && EndedByReset(socket)) {
    tLastError = WSAECONNRESET;
    return -1;
  }
  return n;
}

bool SocketEnds(int socket, HostAddress& local, HostAddress& peer) {
  sockaddr_storage raw;
  int length = sizeof raw;
  if (getsockname(Raw(socket), reinterpret_cast<sockaddr*>(&raw), &length) != 0) return false;
  local = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  length = sizeof raw;
  if (getpeername(Raw(socket), reinterpret_cast<sockaddr*>(&raw), &length) != 0) return false;
  peer = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  return true;
}

bool CloseSocket(int socket) {
  linger off{0, 0};
  setsockopt(Raw(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof off);
  shutdown(Raw(socket), SD_BOTH);
  return Succeeded(closesocket(Raw(socket)));
}

// The addresses the machine's own name resolves to.
std::vector<uint32_t> LocalIpv4Addresses() {
  std::vector<uint32_t> addresses;
  char name[256];
  if (!Started() || gethostname(name, sizeof name) != 0) {
    NoteError();
    return addresses;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* list = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &list) != 0) {
    NoteError();
    return addresses;
  }
  for (addrinfo* item = list; item != nullptr; item = item->ai_next) {
    uint32_t address = Ipv4Of(FromSockaddr(item->ai_addr));
    if ((address >> 24) != 127) addresses.push_back(address);
  }
  freeaddrinfo(list);
  return addresses;
}

std::vector<HostAddress> LookUpHost(const std::string& name, bool ipv4Only) {
  std::vector<HostAddress> found;
  if (!Started()) return found;
  addrinfo hints{};
  hints.ai_family = ipv4Only ? AF_INET : AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (int status = getaddrinfo(name.c_str(), nullptr, &hints, &list); status != 0) {
    tLastError = status;
    return found;
  }
  found = AddressesOf(list);
  freeaddrinfo(list);
  return found;
}

int PollSockets(PollEntry* entries, size_t count, int32_t ms) {
  // WSAPoll refuses entries without a socket and an empty set: those wait alone.
  std::vector<WSAPOLLFD> raw;
  std::vector<size_t> index;
  for (size_t i = 0; i < count; ++i) {
    entries[i].readable = entries[i].writable = false;
    if (entries[i].socket < 0) continue;
    SHORT wanted = static_cast<SHORT>((entries[i].wantRead ? POLLRDNORM : 0) |
                                      (entries[i].wantWrite ? POLLWRNORM : 0));
    raw.push_back({Raw(entries[i].socket), wanted, 0});
    index.push_back(i);
  }
  if (raw.empty()) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
    return 0;
  }
  int n = WSAPoll(raw.data(), static_cast<ULONG>(raw.size()), ms);
  if (n < 0) {
    NoteError();
    return -1;
  }
  for (size_t k = 0; k < raw.size(); ++k) {
    PollEntry& entry = entries[index[k]];
    entry.readable = (raw[k].revents & (POLLRDNORM | POLLHUP | POLLERR)) != 0;
    entry.writable = (raw[k].revents & POLLWRNORM) != 0;
  }
  return n;
}

// Winsock waits on sockets only: the wake-up "pipe" is a datagram socket bound to
// loopback, and its write end a second one connected to it.
bool OpenWakePipe(WakePipe& wake) {
  int reader = OpenDatagramSocket();
  int writer = reader >= 0 ? OpenDatagramSocket() : -1;
  HostAddress loopback = Ipv4Address(0x7F000001, 0);
  sockaddr_storage raw;
  int length = sizeof raw;
  bool ok = writer >= 0 && BindSocket(reader, loopback) &&
            getsockname(Raw(reader), reinterpret_cast<sockaddr*>(&raw), &length) == 0 &&
            StartConnect(writer, FromSockaddr(reinterpret_cast<sockaddr*>(&raw)));
  if (!ok) {
    if (reader >= 0) closesocket(Raw(reader));
    if (writer >= 0) closesocket(Raw(writer));
    return false;
  }
  wake.readEnd = reader;
  wake.writeEnd = writer;
  return true;
}

void SignalWakePipe(const WakePipe& wake) {
  char byte = 1;
  // A full queue already wakes the reader.
  send(Raw(wake.writeEnd), &byte, 1, 0);
}

void DrainWakePipe(const WakePipe& wake) {
  char bytes[64];
  while (recv(Raw(wake.readEnd), bytes, sizeof bytes, 0) > 0) {
  }
}

void CloseWakePipe(WakePipe& wake) {
  if (wake.readEnd >= 0) closesocket(Raw(wake.readEnd));
  if (wake.writeEnd >= 0) closesocket(Raw(wake.writeEnd));
  wake = WakePipe{};
}

}  // namespace qrv::platform
