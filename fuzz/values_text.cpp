// Feeds arbitrary text through the runtime's text readers: number reading, Decrypt's
// hexadecimal decoding, and the search/replace/cut functions. Checks their promises.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quorvia/values.h"

using qrv::RtString;

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

// The input is split at its first 0x01 byte: text before it, an operand after it.
void FuzzTexts(const RtString& text, const RtString& operand) {
  double number = qrv::TextToNumber(text);
  Check(!std::isnan(number));  // only decimal numbers are read: no word is NaN
  qrv::TextToInteger(text);
  RtString shown = qrv::NumberText(number);
  Check(shown.Length() == static_cast<uint32_t>(qrv::NumberTextLength(number)));
  Check(shown.Length() <= 17);

  int32_t found = qrv::InStr(text, operand, 0);
  Check(found == -1 || (found >= 0 && static_cast<uint32_t>(found) <= text.Length()));
  RtString replaced = qrv::Replace(text, operand, "<>");
  if (operand.Empty()) Check(replaced.View() == text.View());

  RtString plain = qrv::Decrypt(operand, text);
  Check(plain.Length() <= text.Length() / 2);
  Check(qrv::TextLength(plain) == static_cast<int32_t>(plain.Length()));
  RtString again = qrv::Decrypt(operand, qrv::Encrypt(operand, plain));
  Check(again.View() == plain.View());

  int32_t start = static_cast<int32_t>(text.Length() > 0 ? text[0] : 0) - 64;
  RtString piece = qrv::Mid(text, start, static_cast<int32_t>(operand.Length()) - 2);
  Check(piece.Length() <= text.Length());
  Check(qrv::TrimRight(qrv::TrimLeft(text, operand), operand).Length() <= text.Length());
  qrv::FormatFixed(static_cast<double>(text.Length() % 300) - 150, operand.Length() % 40, number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const void* split = size > 0 ? std::memchr(bytes, 1, size) : nullptr;
  size_t cut = split == nullptr ? size : static_cast<const char*>(split) - bytes;
  RtString text(bytes, static_cast<uint32_t>(cut));
  RtString operand(cut < size ? bytes + cut + 1 : "", static_cast<uint32_t>(cut < size ? size - cut - 1 : 0));
  FuzzTexts(text, operand);
  return 0;
}
