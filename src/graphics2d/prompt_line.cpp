// The text prompt's editing rule.
#include "graphics2d/prompt_line.h"

namespace qrv {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Integers: an optional sign, then digits. Numbers also take one decimal point before the
// exponent and one exponent ('e' or 'E', after a digit, with its own optional sign).
bool Accepts(const std::string& line, char c, PromptKind kind) {
  if (kind == PromptKind::kText) return true;
  if (IsDigit(c)) return true;
  const size_t exponent = line.find_first_of("eE");
  const bool afterExponent = exponent != std::string::npos;
  if (c == '-' || c == '+') {
    return line.empty() ||
           (kind == PromptKind::kNumber && afterExponent && exponent + 1 == line.size());
  }
  if (kind == PromptKind::kInteger) return false;
  if (c == '.') return !afterExponent && line.find('.') == std::string::npos;
  if (c == 'e' || c == 'E') {
    return !afterExponent && line.find_first_of("0123456789") != std::string::npos;
  }
  return false;
}

}  // namespace

bool ApplyPromptKey(std::string& line, char c, PromptKind kind) {
  if (c == '\n') return true;
  if (c == '\b') {
    if (!line.empty()) line.pop_back();
  } else if (Accepts(line, c, kind)) {
    line.push_back(c);
  }
  return false;
}

}  // namespace qrv
