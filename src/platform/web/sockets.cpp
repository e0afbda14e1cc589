// Sockets in the browser: a page may not open TCP or UDP sockets, nor look names up, so
// every socket call fails with "network down" (10050) and the network commands give their
// usual failure answers.
#include "platform/socket_host.h"

namespace qrv::platform {

namespace {

constexpr int32_t kNetworkDown = 10050;

}  // namespace

int32_t LastSocketError() { return kNetworkDown; }

int OpenStreamSocket(int family) { return -1; }

int OpenDatagramSocket() { return -1; }

bool SetAddressReuse(int socket) { return false; }

bool SetBroadcast(int socket) { return false; }

void SetSendBuffer(int socket, int bytes) {}

bool BindSocket(int socket, const HostAddress& address) { return false; }

bool ListenOnSocket(int socket, int backlog) { return false; }

int AcceptOnSocket(int socket, HostAddress& peer) { return -1; }

bool StartConnect(int socket, const HostAddress& address) { return false; }

int WaitForSocket(int socket, bool forWriting, int32_t ms) { return -1; }

int32_t ConnectResult(int socket) { return kNetworkDown; }

int64_t SendOnSocket(int socket, const void* bytes, size_t count, const HostAddress* target) {
  return -1;
}

int64_t ReceiveOnSocket(int socket, void* bytes, size_t count) { return -1; }

bool SocketEnds(int socket, HostAddress& local, HostAddress& peer) { return false; }

bool CloseSocket(int socket) { return false; }

std::vector<uint32_t> LocalIpv4Addresses() { return {}; }

std::vector<HostAddress> LookUpHost(const std::string& name, bool ipv4Only) { return {}; }

int PollSockets(PollEntry* entries, size_t count, int32_t ms) { return -1; }

// Nothing polls sockets here and no other thread runs: a wake pipe has no ends.
bool OpenWakePipe(WakePipe& wake) {
  wake = WakePipe{};
  return true;
}

void SignalWakePipe(const WakePipe& wake) {}

void DrainWakePipe(const WakePipe& wake) {}

void CloseWakePipe(WakePipe& wake) { wake = WakePipe{}; }

}  // namespace qrv::platform
