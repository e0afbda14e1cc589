// Encoding and cutting session frames.
#include "net/session_frame.h"

#include <cstring>

namespace qrv::net {

bool KnownFrameType(uint8_t type) {
  switch (type) {
    case kRegister:
    case kText:
    case kLeave:
    case kJoined:
    case kQuery:
    case kReply:
    case kGreeting:
      return true;
    default:
      return false;
  }
}

static void PutU16(std::string& bytes, uint16_t value) {
  bytes.push_back(static_cast<char>(value & 0xFF));
  bytes.push_back(static_cast<char>(value >> 8));
}

uint16_t ReadU16(std::string_view bytes, size_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}

std::string EncodeFrame(uint8_t type, uint16_t first, uint16_t second, std::string_view payload) {
  payload = payload.substr(0, kMaxPayload);
  std::string bytes;
  bytes.reserve(kFrameHeader + payload.size());
  bytes.push_back(static_cast<char>(type));
  PutU16(bytes, static_cast<uint16_t>(payload.size()));
  PutU16(bytes, first);
  PutU16(bytes, second);
  bytes.append(payload);
  return bytes;
}

std::string EncodeRecord(uint16_t id, uint16_t flags, std::string_view name) {
  std::string record;
  PutU16(record, id);
  PutU16(record, flags);
  record.append(name.substr(0, kNameSize - 1));
  record.resize(kRecordSize, '\0');
  return record;
}

std::string RecordName(std::string_view record) {
  std::string_view name = record.substr(record.size() < 4 ? record.size() : 4);
  name = name.substr(0, name.find('\0'));
  return std::string(name.substr(0, kNameSize - 1));
}

bool FrameReader::Take(std::string_view bytes) {
  if (have_ < kFrameHeader) {
    std::memcpy(header_ + have_, bytes.data(), bytes.size());
    have_ += bytes.size();
    if (have_ < kFrameHeader) return true;
    std::string_view header(reinterpret_cast<const char*>(header_), kFrameHeader);
    size_t length = ReadU16(header, 1);
    if (!KnownFrameType(header_[0]) || length > kMaxPayload) return false;
    frame_.type = header_[0];
    frame_.first = ReadU16(header, 3);
    frame_.second = ReadU16(header, 5);
    frame_.payload.assign(length, '\0');
    return true;
  }
  std::memcpy(frame_.payload.data() + (have_ - kFrameHeader), bytes.data(), bytes.size());
  have_ += bytes.size();
  return true;
}

}  // namespace qrv::net
