// RtString: the runtime's one string type, a byte string in the 8-bit code page.
//
// Layout: buffer, capacity, length. The buffer is never null and always holds a zero
// byte after the text; every empty string without a buffer of its own points at one
// shared, read-only empty text. Capacities grow in steps of 16 and never shrink.
#pragma once

#include <concepts>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace qrv {

class RtString {
 public:
  RtString() noexcept;
  RtString(const char* text);  // NOLINT: C texts convert implicitly, as in game code
  RtString(const char* bytes, uint32_t count);
  RtString(const RtString& other);
  RtString(RtString&& other) noexcept;
  explicit RtString(int32_t value);
  explicit RtString(float value);
  explicit RtString(double value);
  ~RtString();

  RtString& operator=(const RtString& other);  // Assign
  RtString& operator=(RtString&& other) noexcept;
  RtString& operator=(const char* text);  // Assign from C text

  const char* c_str() const noexcept { return buffer_; }
  char* Data() noexcept { return buffer_; }
  uint32_t Length() const noexcept { return length_; }
  uint32_t Capacity() const noexcept { return capacity_; }
  bool Empty() const noexcept { return length_ == 0; }
  bool UsesSharedEmpty() const noexcept;
  std::string_view View() const noexcept { return {buffer_, length_}; }
  char operator[](uint32_t i) const noexcept { return buffer_[i]; }

  // Makes room for n characters plus the terminator; keep copies the old text.
  void Reserve(uint32_t n, bool keep);
  // Recounts the length after foreign code wrote a C text into the buffer.
  void FixLength() noexcept;
  // Cuts the text to n characters when 0 <= n < capacity; otherwise no effect.
  void SetLength(int64_t n) noexcept;
  // Frees the buffer and returns to the shared empty text.
  void Clear() noexcept;

  RtString& Append(const char* text) {
    return text == nullptr ? *this : AppendBytes(text, static_cast<uint32_t>(std::strlen(text)));
  }
  RtString& Append(const RtString& other);
  RtString& AppendBytes(const char* bytes, uint32_t count) {
    // The common case, room for the bytes and the terminator, stays inline.
    if (count < capacity_ - length_) {
      std::memmove(buffer_ + length_, bytes, count);
      length_ += count;
      buffer_[length_] = 0;
      return *this;
    }
    return AppendGrowing(bytes, count);
  }
  RtString& Append(int32_t value);
  RtString& Append(float value);
  RtString& Append(double value);

  void Swap(RtString& other) noexcept;

 private:
  RtString& AppendGrowing(const char* bytes, uint32_t count);

  char* buffer_;
  uint32_t capacity_;
  uint32_t length_;
};

// The process-wide empty text that every bufferless string points at.
const char* SharedEmptyText() noexcept;

// Number of bytes before the first zero byte of the buffer.
int32_t TextLength(const RtString& s) noexcept;

inline void Assign(RtString& target, const RtString& source) {
  target = source;
}
inline void Assign(RtString& target, const char* source) {
  target = source;
}
inline void Reserve(RtString& s, uint32_t n, bool keep) {
  s.Reserve(n, keep);
}
inline void FixLength(RtString& s) noexcept {
  s.FixLength();
}
inline void SetLength(RtString& s, int64_t n) noexcept {
  s.SetLength(n);
}

// The append and concatenation family: one template covers every operand kind
// (C text, RtString, int32, float, double) on either side, as long as one side is a string.
template <typename T>
concept StringOperand =
    std::same_as<std::remove_cvref_t<T>, RtString> || std::convertible_to<T, const char*> ||
    std::same_as<std::remove_cvref_t<T>, int32_t> || std::same_as < std::remove_cvref_t<T>,
float > || std::same_as<std::remove_cvref_t<T>, double>;

template <StringOperand T>
RtString& Append(RtString& target, const T& operand) {
  if constexpr (std::convertible_to<T, const char*>) {
    return target.Append(static_cast<const char*>(operand));
  } else {
    return target.Append(operand);
  }
}

template <StringOperand L, StringOperand R>
requires(std::same_as<std::remove_cvref_t<L>, RtString> ||
         std::same_as<std::remove_cvref_t<R>, RtString> || std::convertible_to<L, const char*> ||
         std::convertible_to<R, const char*>) RtString Concat(const L& left, const R& right) {
  RtString result;
  if constexpr (std::convertible_to<L, const char*>) {
    result = static_cast<const char*>(left);
  } else {
    result = RtString(left);
  }
  Append(result, right);
  return result;
}

template <StringOperand R>
RtString& operator+=(RtString& target, const R& operand) {
  return Append(target, operand);
}

template <StringOperand R>
RtString operator+(const RtString& left, const R& right) {
  return Concat(left, right);
}

template <StringOperand L>
requires(!std::same_as<std::remove_cvref_t<L>, RtString>) RtString operator+(
    const L& left, const RtString& right) {
  return Concat(left, right);
}

}  // namespace qrv
