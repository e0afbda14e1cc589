// RtString: construction, assignment, the growth rule and appending.
// Capacities follow the runtime's rule (multiples of 16), but the block behind a buffer
// may be larger: appends grow it geometrically, so most growth steps allocate nothing.
#include "quorvia/rt_string.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "quorvia/frame.h"
#include "quorvia/values.h"

namespace qrv {
namespace {

const char kSharedEmpty[1] = {0};

char* SharedEmpty() {
  return const_cast<char*>(kSharedEmpty);
}

// The smallest multiple of 16 strictly greater than n + 1; 0 when it does not fit.
uint32_t GrownCapacity(uint32_t n) {
  uint64_t capacity = ((static_cast<uint64_t>(n) + 1) & ~uint64_t{15}) + 16;
  return capacity > UINT32_MAX ? 0 : static_cast<uint32_t>(capacity);
}

[[noreturn]] void OutOfMemory() {
  ErrorStop(7);
}

// Every buffer sits in a block that records its usable size just in front of the text.
struct BlockHeader {
  uint64_t room;
};

BlockHeader* HeaderOf(char* buffer) {
  return reinterpret_cast<BlockHeader*>(buffer) - 1;
}

uint64_t RoomOf(char* buffer) {
  return HeaderOf(buffer)->room;
}

// Allocates (old null) or resizes a block to room bytes of text; the text is kept.
char* ResizeBlock(char* old, uint64_t room) {
  void* block = std::realloc(old == nullptr ? nullptr : HeaderOf(old), sizeof(BlockHeader) + room);
  if (block == nullptr) OutOfMemory();
  static_cast<BlockHeader*>(block)->room = room;
  return reinterpret_cast<char*>(static_cast<BlockHeader*>(block) + 1);
}

void FreeBlock(char* buffer) {
  std::free(HeaderOf(buffer));
}

}  // namespace

const char* SharedEmptyText() noexcept {
  return kSharedEmpty;
}

RtString::RtString() noexcept : buffer_(SharedEmpty()), capacity_(0), length_(0) {}

RtString::RtString(const char* text) : RtString() {
  if (text != nullptr) AppendBytes(text, static_cast<uint32_t>(std::strlen(text)));
}

RtString::RtString(const char* bytes, uint32_t count) : RtString() {
  AppendBytes(bytes, count);
}

RtString::RtString(const RtString& other) : RtString() {
  AppendBytes(other.buffer_, other.length_);
}

RtString::RtString(RtString&& other) noexcept : RtString() {
  Swap(other);
}

RtString::RtString(int32_t value) : RtString(IntegerText(value)) {}
RtString::RtString(float value) : RtString(NumberText(static_cast<double>(value))) {}
RtString::RtString(double value) : RtString(NumberText(value)) {}

RtString::~RtString() {
  Clear();
}

bool RtString::UsesSharedEmpty() const noexcept {
  return buffer_ == kSharedEmpty;
}

void RtString::Clear() noexcept {
  if (!UsesSharedEmpty()) FreeBlock(buffer_);
  buffer_ = SharedEmpty();
  capacity_ = 0;
  length_ = 0;
}

void RtString::Swap(RtString& other) noexcept {
  std::swap(buffer_, other.buffer_);
  std::swap(capacity_, other.capacity_);
  std::swap(length_, other.length_);
}

RtString& RtString::operator=(const RtString& other) {
  if (buffer_ == other.buffer_) return *this;
  if (other.length_ == 0) {
    if (!UsesSharedEmpty()) buffer_[0] = 0;
    length_ = 0;
    return *this;
  }
  Reserve(other.length_, false);
  std::memcpy(buffer_, other.buffer_, other.length_ + 1);
  length_ = other.length_;
  return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept {
  // An empty source behaves as Assign: the target keeps its buffer for later use.
  if (this == &other || other.length_ == 0) return *this = static_cast<const RtString&>(other);
  Swap(other);
  other.Clear();
  return *this;
}

RtString& RtString::operator=(const char* text) {
  RtString temporary(text);
  Swap(temporary);
  return *this;
}

void RtString::Reserve(uint32_t n, bool keep) {
  if (n == 0 || capacity_ >= static_cast<uint64_t>(n) + 1) return;
  uint32_t capacity = GrownCapacity(n);
  if (capacity == 0) OutOfMemory();
  if (UsesSharedEmpty()) {
    buffer_ = ResizeBlock(nullptr, capacity);
  } else if (RoomOf(buffer_) < capacity) {
    if (keep && length_ > 0) {
      // Appending grows the block by half again at least, keeping the text.
      buffer_ = ResizeBlock(buffer_, std::max<uint64_t>(capacity, RoomOf(buffer_) * 3 / 2));
    } else {
      FreeBlock(buffer_);
      buffer_ = ResizeBlock(nullptr, capacity);
    }
  }
  buffer_[keep ? length_ : 0] = 0;
  capacity_ = capacity;
}

void RtString::FixLength() noexcept {
  if (capacity_ == 0) {
    length_ = 0;
    return;
  }
  const void* zero = std::memchr(buffer_, 0, capacity_);
  if (zero == nullptr) {
    buffer_[capacity_ - 1] = 0;
    length_ = capacity_ - 1;
  } else {
    length_ = static_cast<uint32_t>(static_cast<const char*>(zero) - buffer_);
  }
}

void RtString::SetLength(int64_t n) noexcept {
  if (n < 0 || n >= capacity_) return;
  buffer_[n] = 0;
  length_ = static_cast<uint32_t>(n);
}

RtString& RtString::AppendGrowing(const char* bytes, uint32_t count) {
  if (count == 0) return *this;
  uint64_t total = static_cast<uint64_t>(length_) + count;
  if (total >= UINT32_MAX) OutOfMemory();
  // The operand may live inside this string's own buffer: keep it valid across growth.
  if (bytes >= buffer_ && bytes < buffer_ + capacity_ && !UsesSharedEmpty()) {
    RtString copy(bytes, count);
    return AppendBytes(copy.buffer_, copy.length_);
  }
  Reserve(static_cast<uint32_t>(total), true);
  std::memcpy(buffer_ + length_, bytes, count);
  length_ = static_cast<uint32_t>(total);
  buffer_[length_] = 0;
  return *this;
}

RtString& RtString::Append(const RtString& other) {
  if (&other == this) {
    RtString copy(other);
    return AppendBytes(copy.buffer_, copy.length_);
  }
  return AppendBytes(other.buffer_, other.length_);
}

RtString& RtString::Append(int32_t value) {
  return Append(IntegerText(value));
}
RtString& RtString::Append(float value) {
  return Append(NumberText(static_cast<double>(value)));
}
RtString& RtString::Append(double value) {
  return Append(NumberText(value));
}

int32_t TextLength(const RtString& s) noexcept {
  return static_cast<int32_t>(std::strlen(s.c_str()));
}

}  // namespace qrv
