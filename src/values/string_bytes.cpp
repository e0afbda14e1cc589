// Byte-level string functions: ASCII case conversion, hexadecimal text of bytes, and
// character codes.
#include "quorvia/values.h"

namespace qrv {
namespace {

// The "C" locale's case mapping: only ASCII letters change.
char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <char (*kMap)(char)>
void MapInPlace(char* bytes, int32_t count) {
  for (int32_t i = 0; i < count; ++i) bytes[i] = kMap(bytes[i]);
}

template <char (*kMap)(char)>
RtString MappedCopy(const RtString& text) {
  RtString copy(text);
  MapInPlace<kMap>(copy.Data(), static_cast<int32_t>(copy.Length()));
  return copy;
}

}  // namespace

RtString UpperCase(const RtString& text) {
  return MappedCopy<Upper>(text);
}
RtString LowerCase(const RtString& text) {
  return MappedCopy<Lower>(text);
}
void UpperCaseInPlace(char* bytes, int32_t count) {
  MapInPlace<Upper>(bytes, count);
}
void LowerCaseInPlace(char* bytes, int32_t count) {
  MapInPlace<Lower>(bytes, count);
}

RtString HexBytes(const void* bytes, int32_t count, bool upperCase) {
  if (count < 1 || bytes == nullptr) return RtString();
  if (count > INT32_MAX / 2) count = INT32_MAX / 2;
  const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  const unsigned char* in = static_cast<const unsigned char*>(bytes);
  RtString text;
  text.Reserve(static_cast<uint32_t>(count) * 2, false);
  char* out = text.Data();
  for (int32_t i = 0; i < count; ++i) {
    *out++ = digits[in[i] >> 4];
    *out++ = digits[in[i] & 15];
  }
  *out = 0;
  text.FixLength();
  return text;
}

RtString Chr(int32_t code) {
  char byte = static_cast<char>(code & 0xff);
  return RtString(&byte, 1);
}

int32_t Asc(const RtString& text) {
  return static_cast<unsigned char>(text.c_str()[0]);
}

}  // namespace qrv
