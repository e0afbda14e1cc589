// The answer of an HTTP/1.0 server, read as it arrives: where the header ends, the
// Content-Length it declares, and which bytes of each chunk belong to the body.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qrv::net {

class HttpResponseReader {
 public:
  // Hands over the next received bytes; gives the part of them that is body.
  std::string_view Feed(std::string_view chunk);
  bool HeaderDone() const { return headerDone_; }
  // The declared body length, or -1 when the header declares none (or an unreadable one).
  int64_t ContentLength() const { return contentLength_; }
  int64_t BodyBytes() const { return bodyBytes_; }
  // True once a declared body length has been reached.
  bool BodyComplete() const { return contentLength_ >= 0 && bodyBytes_ >= contentLength_; }

 private:
  void EndLine();

  bool headerDone_ = false;
  int lineEnds_ = 0;  // line feeds in a row, carriage returns not counted
  std::string line_;  // the header line being read (its first kMaxLine bytes)
  bool sawLength_ = false;
  int64_t contentLength_ = -1;
  int64_t bodyBytes_ = 0;
};

}  // namespace qrv::net
