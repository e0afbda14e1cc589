// Feeds arbitrary key characters through the text prompt's editing rule, for each kind of
// prompt, and checks its promises: a line feed ends the line, Backspace never goes below
// empty, and a number prompt's line only ever holds what can be part of a number.
#include "graphics2d/prompt_line.h"

#include <cstdint>
#include <cstdlib>
#include <string>

#include "quorvia/values.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

bool NumberCharacter(char c, bool exponent) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' ||
         (exponent && (c == '.' || c == 'e' || c == 'E'));
}

void Type(const uint8_t* data, size_t size, qrv::PromptKind kind) {
  std::string line;
  for (size_t i = 0; i < size; ++i) {
    const size_t before = line.size();
    const bool ended = qrv::ApplyPromptKey(line, char(data[i]), kind);
    Check(ended == (data[i] == '\n'));
    if (ended) break;
    Check(line.size() <= before + 1);
    if (data[i] == '\b') Check(line.size() + (before > 0 ? 1 : 0) == before);
  }
  if (kind == qrv::PromptKind::kText) return;
  for (char c : line) Check(NumberCharacter(c, kind == qrv::PromptKind::kNumber));
  qrv::TextToNumber(line.c_str());
  qrv::TextToInteger(line.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (auto kind : {qrv::PromptKind::kText, qrv::PromptKind::kInteger, qrv::PromptKind::kNumber}) {
    Type(data, size, kind);
  }
  return 0;
}
