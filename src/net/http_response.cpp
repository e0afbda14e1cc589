// Reading an HTTP answer: the header ends at the first empty line (a carriage return
// counts as nothing, a line feed ends a line); only Content-Length is looked at.
#include "net/http_response.h"

#include <algorithm>
#include <cctype>

namespace qrv::net {

namespace {

// Longer header lines are kept only this far; no field of interest is that long.
constexpr size_t kMaxLine = 1024;
// Lengths beyond this are not believed (and a body that long never ends well).
constexpr int64_t kMaxLength = int64_t{1} << 52;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
           return std::tolower(static_cast<unsigned char>(c)) == lower;
         });
}

// The digits of a Content-Length value; -1 unless it is digits between blanks.
int64_t ParseLength(std::string_view value) {
  size_t start = value.find_first_not_of(" \t");
  size_t end = value.find_last_not_of(" \t");
  if (start == std::string_view::npos) return -1;
  value = value.substr(start, end - start + 1);
  int64_t length = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return -1;
    length = length * 10 + (c - '0');
    if (length > kMaxLength) return kMaxLength;
  }
  return length;
}

}  // namespace

void HttpResponseReader::EndLine() {
  static constexpr std::string_view kField = "content-length:";
  if (!sawLength_ && StartsWithNoCase(line_, kField)) {
    sawLength_ = true;
    contentLength_ = ParseLength(std::string_view(line_).substr(kField.size()));
  }
  line_.clear();
}

std::string_view HttpResponseReader::Feed(std::string_view chunk) {
  size_t i = 0;
  for (; !headerDone_ && i < chunk.size(); ++i) {
    char c = chunk[i];
    if (c == '\r') continue;
    if (c != '\n') {
      lineEnds_ = 0;
      if (line_.size() < kMaxLine) line_.push_back(c);
      continue;
    }
    EndLine();
    headerDone_ = ++lineEnds_ == 2;
  }
  std::string_view body = chunk.substr(i);
  if (contentLength_ >= 0) {
    body = body.substr(0, static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(body.size()),
                                                                contentLength_ - bodyBytes_)));
  }
  bodyBytes_ += static_cast<int64_t>(body.size());
  return body;
}

}  // namespace qrv::net
