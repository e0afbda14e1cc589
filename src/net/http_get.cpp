// HTTP/1.0 downloads into a file or a string, on the calling thread.
#include <memory>
#include <string>

#include "net/http_response.h"
#include "net/resolve.h"
#include "net/socket_io.h"
#include "net/socket_table.h"
#include "quorvia/files.h"
#include "quorvia/net.h"

namespace qrv {

namespace {

constexpr int32_t kChunk = 64 * 1024;

// Where the body goes: a file, or a string that keeps the body's first `room` bytes.
struct BodySink {
  FileReader* file = nullptr;
  std::string* text = nullptr;
  size_t room = 0;

  bool Take(std::string_view body) {
    if (file != nullptr) return file->Write(body.data(), static_cast<int32_t>(body.size()));
    text->append(body.substr(0, room - text->size()));
    return true;
  }
  bool Full() const { return text != nullptr && text->size() >= room; }
};

// The Host field: an IPv6 address goes in brackets.
std::string HostField(const std::string& host) {
  if (host.find(':') == std::string::npos || host.front() == '[') return host;
  return "[" + host + "]";
}

bool SafeRequestText(const RtString& text) {
  return text.View().find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Reads the answer until the server closes, the declared body is complete, or the
// string is full. False on a failure (a reset included), a silence longer than idleMs
// (10060), or a body shorter than its declared length.
bool ReadAnswer(int32_t handle, int32_t idleMs, BodySink& sink) {
  net::HttpResponseReader reader;
  std::unique_ptr<char[]> buffer(new char[kChunk]);
  while (!reader.BodyComplete() && !sink.Full()) {
    int32_t n = net::ReceiveInto(handle, buffer.get(), kChunk);
    if (n == -2) {
      int ready = net::WaitReadable(handle, idleMs);
      if (ready == 0) net::SetLastNetError(10060);
      if (ready != 1) return false;
      continue;
    }
    if (n < 0) return false;
    if (n == 0) {
      // A reset is not the server's orderly end of the body.
      if (net::LastNetError() == 10054) return false;
      if (reader.ContentLength() < 0) return true;
      net::SetLastNetError(10054);
      return false;
    }
    if (!sink.Take(reader.Feed(std::string_view(buffer.get(), n)))) return false;
  }
  return true;
}

bool Exchange(const RtString& host, const RtString& path, int32_t port, int32_t timeoutMs,
              BodySink& sink) {
  uint16_t hostPort = static_cast<uint16_t>(port & 0xFFFF);
  if (hostPort == 0) hostPort = 80;
  platform::HostAddress address;
  if (!net::ResolveHost(host.c_str(), hostPort, false, address)) return false;
  int32_t idleMs = net::ClampConnectTimeout(timeoutMs);
  int32_t handle = net::ConnectTo(address, idleMs);
  if (handle < 0) return false;
  std::string request = std::string("GET ") + path.c_str() +
                        " HTTP/1.0\r\nHost:" + HostField(host.c_str()) +
                        "\r\nAccept: */*\r\nUser-Agent: Quorvia\r\n\r\n";
  bool done =
      SocketSend(handle, RtString(request.data(), static_cast<uint32_t>(request.size()))) > 0 &&
      ReadAnswer(handle, idleMs, sink);
  int32_t error = net::LastNetError();
  SocketClose(handle);
  if (!done) net::SetLastNetError(error);
  return done;
}

// One download with the network started around it; the failure's code survives the stop.
bool HttpGet(const RtString& host, const RtString& path, int32_t port, int32_t timeoutMs,
             BodySink& sink) {
  if (!SafeRequestText(host) || !SafeRequestText(path)) {
    net::SetLastNetError(10022);
    return false;
  }
  NetStart();
  bool done = Exchange(host, path, port, timeoutMs, sink);
  int32_t error = net::LastNetError();
  NetStop();
  if (!done) net::SetLastNetError(error);
  return done;
}

// "host:port/path" for failure reports.
std::string Address(const RtString& host, const RtString& path, int32_t port) {
  return HostField(host.c_str()) + ":" + std::to_string(port & 0xFFFF) + path.c_str();
}

}  // namespace

int32_t HttpGetFile(const RtString& host, const RtString& path, int32_t port,
                    const RtString& target, int32_t timeoutMs) {
  if (IsMemoryName(target.c_str())) {
    return net::SayFailure("HttpGetFile", target.c_str(), 0, "a memory block cannot be a target");
  }
  FileReader file;
  if (!file.OpenForWriting(target.c_str())) {
    return net::SayFailure("HttpGetFile", target.c_str(), 0, "the file cannot be made");
  }
  BodySink sink{&file};
  bool done = HttpGet(host, path, port, timeoutMs, sink);
  if (!file.Close() && done) {
    return net::SayFailure("HttpGetFile", target.c_str(), 0, "the file cannot be written");
  }
  return done ? 1 : net::SayFailure("HttpGetFile", Address(host, path, port), 0);
}

RtString HttpGetString(const RtString& host, const RtString& path, int32_t port,
                       int32_t maximumLength, int32_t timeoutMs) {
  if (maximumLength < 1) {
    net::SayFailure("HttpGetString", Address(host, path, port), 0, "the maximum length is below 1");
    return RtString();
  }
  std::string body;
  BodySink sink{nullptr, &body, static_cast<size_t>(maximumLength)};
  if (!HttpGet(host, path, port, timeoutMs, sink)) {
    net::SayFailure("HttpGetString", Address(host, path, port), 0);
    return RtString();
  }
  return RtString(body.c_str());
}

}  // namespace qrv
