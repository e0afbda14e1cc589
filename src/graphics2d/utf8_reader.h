// Code points from UTF-8 text, one at a time. A byte that does not start a well-formed
// sequence (a stray continuation byte, a truncated, overlong or surrogate sequence, a
// value above U+10FFFF) reads as U+FFFD and the reader moves on by that one byte, so every
// text reads to its end whatever it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qrv {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

class Utf8Reader {
 public:
  explicit Utf8Reader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return position_ >= text_.size(); }

  // The code point at the position; the position moves past it.
  char32_t Next() {
    const uint8_t lead = Byte(position_);
    const size_t length = lead < 0x80   ? 1
                          : lead < 0xC2 ? 0
                          : lead < 0xE0 ? 2
                          : lead < 0xF0 ? 3
                          : lead < 0xF5 ? 4
                                        : 0;
    if (length == 1) {
      ++position_;
      return lead;
    }
    char32_t code = length == 0 ? 0 : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
      const uint8_t next = position_ + i < text_.size() ? Byte(position_ + i) : 0;
      if ((next & 0xC0) != 0x80) return Refuse();
      code = code << 6 | (next & 0x3F);
    }
    // Shortest form only (two-byte leads below 0xC2 were refused above), no surrogates,
    // nothing past U+10FFFF.
    const bool valid = length != 0 && !(length == 3 && code < 0x800) &&
                       !(length == 4 && code < 0x10000) && !(code >= 0xD800 && code < 0xE000) &&
                       code <= 0x10FFFF;
    if (!valid) return Refuse();
    position_ += length;
    return code;
  }

 private:
  uint8_t Byte(size_t i) const { return static_cast<uint8_t>(text_[i]); }
  char32_t Refuse() {
    ++position_;
    return kReplacementCharacter;
  }

  std::string_view text_;
  size_t position_ = 0;
};

}  // namespace qrv
