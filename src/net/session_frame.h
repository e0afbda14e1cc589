// Session frames on the wire: a 7-byte header (type, payload length, two id fields; all
// little-endian) and at most 1024 payload bytes. The reader takes bytes as they arrive
// and refuses, for good, a stream that breaks the frame rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qrv::net {

constexpr size_t kFrameHeader = 7;
constexpr size_t kMaxPayload = 1024;

// The frame types and what they carry (see docs/sessions.md).
enum FrameType : uint8_t {
  kRegister = 1,    // player -> host: 148-byte record; host -> player: the record with its id
  kText = 3,        // a text from `first` to `second` (0: everyone)
  kLeave = 4,       // player `second` leaves or is dropped
  kJoined = 101,    // host -> players: player `first` has joined; payload its name
  kQuery = 102,     // player -> host: 2-byte player id (0: every player)
  kReply = 103,     // host -> player: the answer to a query or a greeting
  kGreeting = 104,  // player -> host after registration: `second` is the player's id
};

// The registration record: id, flags, then the name, zero-padded.
constexpr size_t kRecordSize = 148;
constexpr size_t kNameSize = kRecordSize - 4;
constexpr uint16_t kHostingFlag = 1;

struct Frame {
  uint8_t type = 0;
  uint16_t first = 0;
  uint16_t second = 0;
  std::string payload;
};

bool KnownFrameType(uint8_t type);
// The frame's bytes; the payload is cut at kMaxPayload.
std::string EncodeFrame(uint8_t type, uint16_t first, uint16_t second, std::string_view payload);
// A registration record and its parts.
std::string EncodeRecord(uint16_t id, uint16_t flags, std::string_view name);
uint16_t ReadU16(std::string_view bytes, size_t at);
// The name of a record: up to its first zero byte, at most kNameSize - 1 bytes (the record
// always has room for the zero that ends the name).
std::string RecordName(std::string_view record);

// Cuts a byte stream into frames.
class FrameReader {
 public:
  // Takes the next bytes and calls onFrame(const Frame&) for every complete frame; stops
  // when onFrame returns false. False once the stream is bad (a length over the limit or
  // an unknown type) or onFrame refused a frame.
  template <class OnFrame>
  bool Feed(std::string_view bytes, OnFrame&& onFrame) {
    while (!bytes.empty()) {
      size_t want =
          (have_ < kFrameHeader ? kFrameHeader : kFrameHeader + frame_.payload.size()) - have_;
      size_t take = want < bytes.size() ? want : bytes.size();
      if (!Take(bytes.substr(0, take))) return false;
      bytes.remove_prefix(take);
      if (Complete()) {
        have_ = 0;
        ++completed_;
        if (!onFrame(static_cast<const Frame&>(frame_))) return false;
      }
    }
    return true;
  }
  // True while part of a frame has arrived and the rest has not.
  bool MidFrame() const { return have_ > 0; }
  // How many frames have been complete so far.
  uint64_t Completed() const { return completed_; }

 private:
  bool Take(std::string_view bytes);
  bool Complete() const {
    return have_ >= kFrameHeader && have_ == kFrameHeader + frame_.payload.size();
  }

  uint8_t header_[kFrameHeader] = {};
  size_t have_ = 0;  // bytes of the current frame so far
  uint64_t completed_ = 0;
  Frame frame_;
};

}  // namespace qrv::net
