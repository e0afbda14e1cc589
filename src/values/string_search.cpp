// Searching in texts: InStr's search, Replace, and the first character in or out of a set.
// Searches treat both texts as C texts (they end at the first zero byte).
#include <cstring>
#include <string_view>

#include "quorvia/values.h"

namespace qrv {

int32_t FindText(const char* text, const char* sought, int32_t start) {
  text = TextOf(text);
  if (start < 0) return -1;
  // start may reach the end of the text but not pass it.
  for (int32_t i = 0; i < start; ++i) {
    if (text[i] == 0) return -1;
  }
  const char* found = std::strstr(text + start, TextOf(sought));
  return found == nullptr ? -1 : static_cast<int32_t>(found - text);
}

RtString Replace(const RtString& text, const RtString& sought, const RtString& replacement) {
  std::string_view pattern(sought.c_str());
  // Matches are only found before the first zero byte; what follows it is copied as it is.
  std::string_view searched(text.c_str());
  size_t match = pattern.empty() ? std::string_view::npos : searched.find(pattern);
  if (match == std::string_view::npos) return text;
  RtString result;
  result.Reserve(text.Length(), false);
  size_t from = 0;
  for (; match != std::string_view::npos; match = searched.find(pattern, from)) {
    result.AppendBytes(searched.data() + from, static_cast<uint32_t>(match - from));
    result.Append(replacement);
    from = match + pattern.size();
  }
  result.AppendBytes(text.c_str() + from, static_cast<uint32_t>(text.Length() - from));
  return result;
}

const char* FindFirstOf(const char* text, const char* set) {
  return std::strpbrk(TextOf(text), TextOf(set));
}

const char* FindFirstNotOf(const char* text, const char* set) {
  const char* found = TextOf(text) + std::strspn(TextOf(text), TextOf(set));
  return *found == 0 ? nullptr : found;
}

}  // namespace qrv
