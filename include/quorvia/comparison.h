// The comparison family: every operator for every pairing of C text, RtString, int32,
// float and double in which at least one side is a text. Two texts compare as bytes
// (strcmp); a text against a number is read as that number's kind first.
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "quorvia/rt_string.h"

namespace qrv {

double TextToNumber(const char* text);
int32_t TextToInteger(const char* text);

template <typename T>
concept TextOperand =
    std::same_as<std::remove_cvref_t<T>, RtString> || std::convertible_to<const T&, const char*>;
template <typename T>
concept NumberOperand =
    std::same_as<T, int32_t> || std::same_as<T, float> || std::same_as<T, double>;

inline const char* TextOf(const RtString& text) noexcept {
  return text.c_str();
}
inline const char* TextOf(const char* text) noexcept {
  return text != nullptr ? text : "";
}

// The ordering of two operands as the language defines it: bytes for two texts; int32 for a
// text against an int32; double (a NaN is unordered) for a text against a float or double.
template <typename L, typename R>
requires(TextOperand<L> || TextOperand<R>) auto Order(const L& left, const R& right) {
  if constexpr (TextOperand<L> && TextOperand<R>) {
    return std::strcmp(TextOf(left), TextOf(right)) <=> 0;
  } else if constexpr (TextOperand<L>) {
    return 0 <=> Order(right, left);  // the mirror image of number against text
  } else if constexpr (std::same_as<L, int32_t>) {
    return left <=> TextToInteger(TextOf(right));
  } else {
    return static_cast<double>(left) <=> TextToNumber(TextOf(right));
  }
}

// The six relations; each member of the family is Compare<relation>(left, right).
enum class Relation { kEqual, kNotEqual, kLess, kGreater, kLessEqual, kGreaterEqual };

template <Relation kRelation, typename L, typename R>
requires(TextOperand<L> || TextOperand<R>) int32_t Compare(const L& left, const R& right) {
  auto order = Order(left, right);
  switch (kRelation) {
    case Relation::kEqual:
      return order == 0;
    case Relation::kNotEqual:
      return !(order == 0);
    case Relation::kLess:
      return order < 0;
    case Relation::kGreater:
      return order > 0;
    case Relation::kLessEqual:
      return order <= 0;
    case Relation::kGreaterEqual:
      return order >= 0;
  }
  return 0;
}

// C++ operators for every pairing with an RtString on one side; the compiler derives
// the rest of the operators (and the reversed order) from these two.
template <typename R>
requires(TextOperand<R> || NumberOperand<R>) bool operator==(const RtString& left, const R& right) {
  return Order(left, right) == 0;
}
template <typename R>
requires(TextOperand<R> || NumberOperand<R>) auto operator<=>(const RtString& left,
                                                              const R& right) {
  return Order(left, right);
}

// Three-way comparisons for generic code such as sorting: strcmp's own result for a
// C text, -1/0/1 for a number (0 when the text's value and the number are unordered).
inline int32_t CompareThreeWay(const RtString& left, const char* right) {
  return std::strcmp(left.c_str(), TextOf(right));
}
template <NumberOperand N>
int32_t CompareThreeWay(const RtString& left, N right) {
  auto order = Order(left, right);
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// Equal lengths and equal bytes, zero bytes included.
inline bool BytesEqual(const void* a, int32_t aLength, const void* b, int32_t bLength) {
  return aLength == bLength && (aLength <= 0 || std::memcmp(a, b, aLength) == 0);
}

}  // namespace qrv
