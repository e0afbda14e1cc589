// The host's sockets: TCP and UDP over IPv4 and IPv6, name look-up, readiness waits and
// a wake-up pipe. Every call here is non-blocking or bounded by a time-out; errors come
// back as the runtime's network codes (10035 would block, 10036 in progress, 10054
// reset, ...), mapped from the host's in one table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qrv::platform {

// A socket address: family 4 or 6, the address bytes in network order (4 or 16 of
// them), the port in host order.
struct HostAddress {
  int family = 4;
  uint8_t bytes[16] = {};
  uint16_t port = 0;
};

// An IPv4 address given in host order (a.b.c.d = a<<24 | b<<16 | c<<8 | d).
HostAddress Ipv4Address(uint32_t address, uint16_t port);
// The IPv4 address in host order; an IPv4-mapped IPv6 address counts as IPv4. 0 for
// any other IPv6 address.
uint32_t Ipv4Of(const HostAddress& address);

// The code of the last failed host call of this thread, as a network code.
int32_t LastSocketError();
// The host's text for a network code; empty when there is none.
std::string SocketErrorMessage(int32_t code);

// New non-blocking sockets, or -1. A stream socket of family 6 accepts IPv4 too where the host
// allows.
int OpenStreamSocket(int family);
int OpenDatagramSocket();
bool SetAddressReuse(int socket);
bool SetBroadcast(int socket);
// Keeps what the socket sends to at most `bytes` queued in the host (a hint).
void SetSendBuffer(int socket, int bytes);
bool BindSocket(int socket, const HostAddress& address);
bool ListenOnSocket(int socket, int backlog);
// A pending connection, or -1 (nothing pending gives the would-block code).
int AcceptOnSocket(int socket, HostAddress& peer);
// Starts a connection without waiting: true when connected at once, false with the
// in-progress code while the connection is on its way, or with the failure's code.
bool StartConnect(int socket, const HostAddress& address);
// Waits up to ms for readability (or writability); 1 ready, 0 time-out, -1 error.
int WaitForSocket(int socket, bool forWriting, int32_t ms);
// The pending error of a socket whose connection attempt ended (0 when connected).
int32_t ConnectResult(int socket);
// Never waits: the bytes taken (>= 0) or -1 (the code tells would-block from failure).
int64_t SendOnSocket(int socket, const void* bytes, size_t count, const HostAddress* target);
// Never waits: the bytes read (0 = the peer closed) or -1.
int64_t ReceiveOnSocket(int socket, void* bytes, size_t count);
// The two ends of a connected socket. False when the socket has none.
bool SocketEnds(int socket, HostAddress& local, HostAddress& peer);
// Lingering off, both directions shut down, closed. False when the close failed.
bool CloseSocket(int socket);

// The machine's IPv4 interface addresses (loopback left out), in host order.
std::vector<uint32_t> LocalIpv4Addresses();
// Looks a name up: IPv4 results first, then IPv6 ones unless ipv4Only. Empty with the
// look-up's code (11001 not found, ...) in LastSocketError when it fails.
std::vector<HostAddress> LookUpHost(const std::string& name, bool ipv4Only);

// Waiting on many sockets at once.
struct PollEntry {
  int socket = -1;
  bool wantRead = false;
  bool wantWrite = false;
  bool readable = false;  // also set on hang-up and error, so that a read finds out
  bool writable = false;
};
// Waits up to ms for any wanted event; the number of entries with events, or -1.
int PollSockets(PollEntry* entries, size_t count, int32_t ms);

// A pipe that wakes a poll from another thread.
struct WakePipe {
  int readEnd = -1;
  int writeEnd = -1;
};
bool OpenWakePipe(WakePipe& pipe);
void SignalWakePipe(const WakePipe& pipe);
void DrainWakePipe(const WakePipe& pipe);
void CloseWakePipe(WakePipe& pipe);

}  // namespace qrv::platform
