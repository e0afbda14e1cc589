// A session connection's reads, writes and stall checks.
#include "net/session_link.h"

#include "net/socket_io.h"
#include "net/socket_table.h"
#include "platform/socket_host.h"
#include "quorvia/net.h"

namespace qrv::net {

SessionLink::SessionLink(int32_t handle) : handle_(handle) {
  SocketEntry entry;
  if (FindEntry(handle, entry)) socket_ = entry.socket;
}

int32_t SessionLink::Receive(char* buffer, int32_t size) {
  int64_t n = platform::ReceiveOnSocket(socket_, buffer, static_cast<size_t>(size));
  if (n >= 0) return static_cast<int32_t>(n);
  return platform::LastSocketError() == 10035 ? -2 : -1;
}

bool SessionLink::Flush(uint32_t now) {
  if (Pending() == 0) {
    lastOutput_ = now;
    return true;
  }
  int64_t n = platform::SendOnSocket(socket_, out_.data() + sent_, Pending(), nullptr);
  if (n < 0) return platform::LastSocketError() == 10035;
  if (n > 0) lastOutput_ = now;
  sent_ += static_cast<size_t>(n);
  // Sent bytes are dropped from the front once they are the larger part.
  if (sent_ == out_.size() || sent_ > out_.size() / 2) {
    out_.erase(0, sent_);
    sent_ = 0;
  }
  return true;
}

bool SessionLink::InputStalled(uint32_t now, uint32_t stallMs) const {
  return reader_.MidFrame() && now - frameStart_ > stallMs;
}

bool SessionLink::OutputStalled(uint32_t now, uint32_t stallMs) const {
  return Pending() > 0 && now - lastOutput_ > stallMs;
}

void SessionLink::Close() {
  if (handle_ >= 0) SocketClose(handle_);
  handle_ = -1;
  socket_ = -1;
}

}  // namespace qrv::net
