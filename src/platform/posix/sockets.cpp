// Host sockets on POSIX: every socket call of the runtime is here. Sends and receives
// never wait (MSG_DONTWAIT), never raise SIGPIPE, and report errors as network codes.
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/socket_errors.h"
#include "platform/sockaddr_conversion.h"
#include "platform/socket_host.h"

namespace qrv::platform {

namespace {

thread_local int32_t tLastError = 0;

// Records the errno of the call that just failed.
void NoteErrno() {
  tLastError = NetworkCodeOfErrno(errno);
}

// True for a host call's 0 result; otherwise notes its error.
bool Succeeded(int result) {
  if (result == 0) return true;
  NoteErrno();
  return false;
}

bool SetOption(int socket, int level, int name, int value) {
  return Succeeded(setsockopt(socket, level, name, &value, sizeof value));
}

}  // namespace

int32_t LastSocketError() {
  return tLastError;
}

int OpenStreamSocket(int family) {
  int s = socket(family == 6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) {
    NoteErrno();
    return -1;
  }
  if (family == 6) {
    int off = 0;
    setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
  }
  return s;
}

int OpenDatagramSocket() {
  int s = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) NoteErrno();
  return s;
}

bool SetAddressReuse(int socket) {
  return SetOption(socket, SOL_SOCKET, SO_REUSEADDR, 1);
}

bool SetBroadcast(int socket) {
  return SetOption(socket, SOL_SOCKET, SO_BROADCAST, 1);
}

void SetSendBuffer(int socket, int bytes) {
  setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
}

bool BindSocket(int socket, const HostAddress& address) {
  sockaddr_storage raw;
  socklen_t length = ToSockaddr(address, raw);
  return Succeeded(bind(socket, reinterpret_cast<sockaddr*>(&raw), length));
}

bool ListenOnSocket(int socket, int backlog) {
  return Succeeded(listen(socket, backlog));
}

int AcceptOnSocket(int socket, HostAddress& peer) {
  sockaddr_storage raw;
  socklen_t length = sizeof raw;
  int s = accept4(socket, reinterpret_cast<sockaddr*>(&raw), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (s < 0) {
    NoteErrno();
    return -1;
  }
  peer = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  return s;
}

bool StartConnect(int socket, const HostAddress& address) {
  sockaddr_storage raw;
  socklen_t length = ToSockaddr(address, raw);
  return Succeeded(connect(socket, reinterpret_cast<sockaddr*>(&raw), length));
}

int WaitForSocket(int socket, bool forWriting, int32_t ms) {
  pollfd entry{socket, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
  int n;
  do {
    n = poll(&entry, 1, ms);
  } while (n < 0 && errno == EINTR);
  if (n < 0) NoteErrno();
  return n;
}

int32_t ConnectResult(int socket) {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  return NetworkCodeOfErrno(error);
}

int64_t SendOnSocket(int socket, const void* bytes, size_t count, const HostAddress* target) {
  ssize_t n;
  if (target != nullptr) {
    sockaddr_storage raw;
    socklen_t length = ToSockaddr(*target, raw);
    n = sendto(socket, bytes, count, MSG_DONTWAIT | MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&raw),
               length);
  } else {
    n = send(socket, bytes, count, MSG_DONTWAIT | MSG_NOSIGNAL);
  }
  if (n < 0) NoteErrno();
  return n;
}

int64_t ReceiveOnSocket(int socket, void* bytes, size_t count) {
  ssize_t n = recv(socket, bytes, count, MSG_DONTWAIT);
  if (n < 0) NoteErrno();
  return n;
}

bool SocketEnds(int socket, HostAddress& local, HostAddress& peer) {
  sockaddr_storage raw;
  socklen_t length = sizeof raw;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&raw), &length) != 0) return false;
  local = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  length = sizeof raw;
  if (getpeername(socket, reinterpret_cast<sockaddr*>(&raw), &length) != 0) return false;
  peer = FromSockaddr(reinterpret_cast<sockaddr*>(&raw));
  return true;
}

bool CloseSocket(int socket) {
  linger off{0, 0};
  setsockopt(socket, SOL_SOCKET, SO_LINGER, &off, sizeof off);
  shutdown(socket, SHUT_RDWR);
  return Succeeded(close(socket));
}

std::vector<uint32_t> LocalIpv4Addresses() {
  std::vector<uint32_t> addresses;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    NoteErrno();
    return addresses;
  }
  for (ifaddrs* item = list; item != nullptr; item = item->ifa_next) {
    if (item->ifa_addr == nullptr || item->ifa_addr->sa_family != AF_INET) continue;
    uint32_t address = Ipv4Of(FromSockaddr(item->ifa_addr));
    if ((address >> 24) != 127) addresses.push_back(address);
  }
  freeifaddrs(list);
  return addresses;
}

std::vector<HostAddress> LookUpHost(const std::string& name, bool ipv4Only) {
  std::vector<HostAddress> found;
  addrinfo hints{};
  hints.ai_family = ipv4Only ? AF_INET : AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  int status = getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (status != 0) {
    tLastError = NetworkCodeOfLookUp(status);
    return found;
  }
  found = AddressesOf(list);
  freeaddrinfo(list);
  return found;
}

int PollSockets(PollEntry* entries, size_t count, int32_t ms) {
  std::vector<pollfd> raw(count);
  for (size_t i = 0; i < count; ++i) {
    short wanted = static_cast<short>((entries[i].wantRead ? POLLIN : 0) |
                                      (entries[i].wantWrite ? POLLOUT : 0));
    raw[i] = {entries[i].socket, wanted, 0};
  }
  int n = poll(raw.data(), raw.size(), ms);
  if (n < 0) {
    NoteErrno();
    if (errno != EINTR) return -1;
    n = 0;
  }
  for (size_t i = 0; i < count; ++i) {
    entries[i].readable = (raw[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    entries[i].writable = (raw[i].revents & POLLOUT) != 0;
  }
  return n;
}

bool OpenWakePipe(WakePipe& wake) {
  int ends[2];
  if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
    NoteErrno();
    return false;
  }
  wake.readEnd = ends[0];
  wake.writeEnd = ends[1];
  return true;
}

void SignalWakePipe(const WakePipe& wake) {
  char byte = 1;
  // A full pipe already wakes the reader.
  [[maybe_unused]] ssize_t n = write(wake.writeEnd, &byte, 1);
}

void DrainWakePipe(const WakePipe& wake) {
  char bytes[64];
  while (read(wake.readEnd, bytes, sizeof bytes) > 0) {
  }
}

void CloseWakePipe(WakePipe& wake) {
  if (wake.readEnd >= 0) close(wake.readEnd);
  if (wake.writeEnd >= 0) close(wake.writeEnd);
  wake = WakePipe{};
}

}  // namespace qrv::platform
