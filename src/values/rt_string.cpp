// RtString: construction, assignment, the growth rule and appending.
// Growth keeps the runtime's capacities (multiples of 16) but extends with realloc,
// which can often grow a block in place.
#include "quorvia/rt_string.h"

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
  if (!UsesSharedEmpty()) std::free(buffer_);
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
  char* block;
  if (keep && length_ > 0) {
    block = static_cast<char*>(std::realloc(UsesSharedEmpty() ? nullptr : buffer_, capacity));
    if (block == nullptr) OutOfMemory();
    block[length_] = 0;
  } else {
    block = static_cast<char*>(std::malloc(capacity));
    if (block == nullptr) OutOfMemory();
    block[0] = 0;
    if (!UsesSharedEmpty()) std::free(buffer_);
  }
  buffer_ = block;
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

RtString& RtString::AppendBytes(const char* bytes, uint32_t count) {
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

RtString& RtString::Append(const char* text) {
  return text == nullptr ? *this : AppendBytes(text, static_cast<uint32_t>(std::strlen(text)));
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
