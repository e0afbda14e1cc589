// HTTP downloads against real servers started by the tests: exact bodies, error pages and
// redirects stored as they come, short and lying answers, silences and refused targets.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "net_fixture.h"

namespace net_test {
namespace {

using namespace qrv;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class HttpTest : public testing::Test {
 protected:
  std::string Target(const char* name) const { return (folder_ / name).string(); }
  test_host::ScratchFolder scratch_{"qrv-http"};
  fs::path folder_ = scratch_.Path();
};

TEST_F(HttpTest, FileFromAStaticServerArrivesByteForByteAndReplacesTheTarget) {
  std::string content = ServerPattern(300000) + std::string("\r\n\r\nend", 7);
  fs::create_directories(folder_ / "site");
  std::ofstream(folder_ / "site" / "data.bin", std::ios::binary) << content;
  ServerProcess server(
      "python3 -u -m http.server 0 --bind 127.0.0.1 --directory '" + (folder_ / "site").generic_string() + "'",
      "port");
  ASSERT_GT(server.Port(), 0);
  std::string target = Target("data.bin");
  std::ofstream(target) << std::string(400000, 'x');

  EXPECT_EQ(HttpGetFile("127.0.0.1", "/data.bin", server.Port(), target.c_str(), 5000), 1);
  EXPECT_TRUE(ReadAll(target) == content);

  EXPECT_EQ(HttpGetFile("127.0.0.1", "/absent", server.Port(), target.c_str(), 5000), 1)
      << "an error page is a body too";
  EXPECT_NE(ReadAll(target).find("404"), std::string::npos);
}

TEST_F(HttpTest, BodiesOfServersThatBendTheRules) {
  ServerProcess server(TestServerCommand(), "PORT");
  ASSERT_GT(server.Port(), 0);
  struct Case {
    const char* path;
    int32_t result;
    std::string body;
  } cases[] = {
      {"/crlf", 1, "\r\nbody\r\n"},       {"/lf", 1, "line one\nline two\n"},
      {"/redirect", 1, "moved"},          {"/missing", 1, "not here"},
      {"/shorter", 1, "0123456789"},      {"/early", 0, std::string(100, 'e')},
      {"/huge", 0, std::string(50, 'h')}, {"/bytes/0", 1, ""},
      {"/split", 1, "0123456789"},        {"/reset", 0, "partial"},
  };
  for (const Case& c : cases) {
    std::string target = Target("body");
    EXPECT_EQ(HttpGetFile("localhost", c.path, server.Port(), target.c_str(), 5000), c.result)
        << c.path;
    EXPECT_EQ(ReadAll(target), c.body) << c.path;
    if (std::string(c.path) == "/reset") {
      EXPECT_EQ(NetLastError(), 10054) << "a reset is not an orderly end";
    }
  }
}

TEST_F(HttpTest, StringsKeepTheFirstBytesOfTheBody) {
  ServerProcess server(TestServerCommand(), "PORT");
  ASSERT_GT(server.Port(), 0);
  RtString whole = HttpGetString("127.0.0.1", "/bytes/100000", server.Port(), 100000, 5000);
  EXPECT_EQ(whole.Length(), 100000u);
  EXPECT_TRUE(std::string(whole.c_str(), whole.Length()) == ServerPattern(100000));
  EXPECT_EQ(std::string(HttpGetString("127.0.0.1", "/bytes/100", server.Port(), 10, 5000).c_str()),
            ServerPattern(10));
  EXPECT_STREQ(HttpGetString("127.0.0.1", "/shorter", server.Port(), 4, 5000).c_str(), "0123");
  EXPECT_STREQ(HttpGetString("127.0.0.1", "/split", server.Port(), 100, 5000).c_str(),
               "0123456789");
  EXPECT_STREQ(HttpGetString("127.0.0.1", "/nul", server.Port(), 100, 5000).c_str(), "before");
  EXPECT_STREQ(HttpGetString("127.0.0.1", "/early", server.Port(), 5000, 5000).c_str(), "")
      << "a failure gives nothing";
  EXPECT_EQ(HttpGetString("127.0.0.1", "/bytes/10", server.Port(), 0, 5000).Length(), 0u);

  std::string request = HttpGetString("127.0.0.1", "/echo", server.Port(), 1000, 5000).c_str();
  EXPECT_EQ(request,
            "GET /echo HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\nUser-Agent: Quorvia\r\n\r\n");
  EXPECT_STREQ(HttpGetString("127.0.0.1", "/echo\r\nX: y", server.Port(), 1000, 5000).c_str(), "")
      << "no line breaks smuggled into the request";
}

TEST_F(HttpTest, SilentServerAndClosedPortFailWithTheirCodes) {
  ServerProcess server(TestServerCommand(), "PORT");
  ASSERT_GT(server.Port(), 0);
  auto start = Clock::now();
  EXPECT_EQ(HttpGetFile("127.0.0.1", "/silent", server.Port(), Target("silent").c_str(), 300), 0);
  EXPECT_LT(MillisecondsSince(start), 3000);
  EXPECT_EQ(ReadAll(Target("silent")), "first") << "what arrived stays on disk";
  EXPECT_EQ(NetLastError(), 10060) << "a silence is a time-out";

  EXPECT_EQ(HttpGetFile("127.0.0.1", "/", FreePort(), Target("closed").c_str(), 1000), 0);
  EXPECT_EQ(std::string(NetErrorText().c_str()).rfind("10061 ", 0), 0u)
      << "the failure's code survives the network stop";
}

TEST_F(HttpTest, MemoryTargetIsRefusedWithoutTraffic) {
  NetStart();
  int port = FreePort();
  int32_t listener = TcpListen(port);
  ASSERT_GE(listener, 0);
  EXPECT_EQ(HttpGetFile("127.0.0.1", "/", port, "mem://00000010.00000001", 1000), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  int32_t peer;
  EXPECT_EQ(TcpAccept(listener, peer), -1) << "nobody connected";
  SocketClose(listener);
  NetStop();
}

TEST_F(HttpTest, Ipv6AddressesAreBracketedInTheHostField) {
  ServerProcess server(TestServerCommand(true), "PORT");
  if (server.Port() == 0) GTEST_SKIP() << "this machine has no IPv6 loopback (::1)";
  for (const char* host : {"::1", "[::1]"}) {
    std::string request = HttpGetString(host, "/echo", server.Port(), 1000, 5000).c_str();
    EXPECT_NE(request.find("\r\nHost:[::1]\r\n"), std::string::npos) << host << ": " << request;
  }
}

}  // namespace
}  // namespace net_test
