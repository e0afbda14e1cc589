// One TCP connection of a session: frames in through a FrameReader, bytes out through a
// queue of its own, never waiting on the socket.
#pragma once

#include <cstdint>
#include <string>

#include "net/session_frame.h"

namespace qrv::net {

class SessionLink {
 public:
  SessionLink() = default;
  explicit SessionLink(int32_t handle);

  int32_t Handle() const { return handle_; }
  int Socket() const { return socket_; }
  bool Open() const { return socket_ >= 0; }
  void Queue(const std::string& bytes) { out_.append(bytes); }
  size_t Pending() const { return out_.size() - sent_; }

  // Reads what has arrived and hands every complete frame to onFrame (which returns false
  // to refuse it). False when the peer closed, failed or broke the frame rules.
  template <class OnFrame>
  bool ReadFrames(uint32_t now, OnFrame&& onFrame) {
    char buffer[16384];
    for (int round = 0; round < 4; ++round) {
      int32_t n = Receive(buffer, sizeof buffer);
      if (n == -2) return true;
      if (n <= 0) return false;
      uint64_t before = reader_.Completed();
      bool wasMidFrame = reader_.MidFrame();
      if (!reader_.Feed(std::string_view(buffer, static_cast<size_t>(n)), onFrame)) return false;
      if (reader_.MidFrame() && (!wasMidFrame || reader_.Completed() != before)) frameStart_ = now;
    }
    return true;
  }
  // The connection is not being read for now: the time its current frame has taken starts
  // again once it is.
  void HoldInput(uint32_t now) { frameStart_ = now; }
  // Sends what the socket takes now. False when the connection failed.
  bool Flush(uint32_t now);
  // A frame begun stallMs ago (while read) and not finished.
  bool InputStalled(uint32_t now, uint32_t stallMs) const;
  // Output waiting that the peer has not taken any of for stallMs.
  bool OutputStalled(uint32_t now, uint32_t stallMs) const;
  void Close();

 private:
  int32_t Receive(char* buffer, int32_t size);

  int32_t handle_ = -1;
  int socket_ = -1;
  FrameReader reader_;
  std::string out_;
  size_t sent_ = 0;
  uint32_t frameStart_ = 0;  // when the unfinished frame began
  uint32_t lastOutput_ = 0;
};

}  // namespace qrv::net
