// Sessions between separate processes: ids from 101, texts in order with their sender,
// players and names, departures, leave and rejoin, drops, the accept flag, and the host's
// end (through the runtime's shutdown) ending the session for everyone.
#include <fstream>
#include <sstream>

#include "net_fixture.h"
#include "player_process.h"

namespace net_test {
namespace {

std::string Port(int port) {
  return std::to_string(port);
}

TEST(Sessions, TwoProgramsExchangeTextsInOrderWithTheirSender) {
  int port = FreePort();
  Player host, guest;
  ASSERT_EQ(host.Ask("host " + Port(port) + " anna"), "ok 101");
  ASSERT_EQ(guest.Ask("join " + Port(port) + " bob"), "ok 102");

  EXPECT_EQ(guest.Ask("players"), "players 101|102");
  EXPECT_EQ(guest.Ask("name 101"), "name anna");
  EXPECT_EQ(host.Ask("name 102"), "name bob");
  EXPECT_EQ(host.Ask("name 555"), "name ");

  for (int i = 0; i < 30; ++i) EXPECT_EQ(guest.Ask("send 101 line " + std::to_string(i)), "sent 1");
  EXPECT_EQ(guest.Ask("send 0 to everyone"), "sent 1");
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(host.Ask("recv 102"), "text 102 line " + std::to_string(i));
  }
  EXPECT_EQ(host.Ask("recv 0"), "text 102 to everyone");
  EXPECT_EQ(host.Ask("send 0 back"), "sent 1");
  EXPECT_EQ(guest.Ask("recv 101"), "text 101 back");
  EXPECT_EQ(guest.Ask("send 101 " + std::string(1025, 'x')), "sent 0") << "over 1024 bytes";

  EXPECT_EQ(guest.Ask("leave"), "leave 1");
  EXPECT_EQ(guest.Ask("active"), "active 0");
  EXPECT_EQ(host.Ask("departed"), "departed 102");
  EXPECT_EQ(host.Ask("players"), "players 101");
}

TEST(Sessions, ThreeProgramsAddressEachOtherAndSeeDeparturesAndRejoins) {
  int port = FreePort();
  Player host, b, c;
  ASSERT_EQ(host.Ask("host " + Port(port) + " host"), "ok 101");
  ASSERT_EQ(b.Ask("join " + Port(port) + " b"), "ok 102");
  ASSERT_EQ(c.Ask("join " + Port(port) + " c"), "ok 103");

  EXPECT_EQ(b.Ask("send 103 for c only"), "sent 1");
  EXPECT_EQ(c.Ask("recv 0"), "text 102 for c only");
  EXPECT_EQ(c.Ask("send 101 marker"), "sent 1");
  EXPECT_EQ(host.Ask("recv 0"), "text 103 marker") << "the host saw nothing addressed to c";
  EXPECT_EQ(host.Ask("send 0 all"), "sent 1");
  EXPECT_EQ(b.Ask("recv 0"), "text 101 all");
  EXPECT_EQ(c.Ask("recv 0"), "text 101 all");

  EXPECT_EQ(c.Ask("leave"), "leave 1");
  EXPECT_EQ(host.Ask("departed"), "departed 103");
  EXPECT_EQ(b.Ask("departed"), "departed 103");
  ASSERT_EQ(c.Ask("join " + Port(port) + " c2"), "ok 104");
  EXPECT_EQ(b.Ask("players"), "players 101|102|104");

  EXPECT_EQ(b.Ask("vanish"), "");
  EXPECT_EQ(host.Ask("departed"), "departed 102");
  EXPECT_EQ(c.Ask("departed"), "departed 102");

  EXPECT_EQ(c.Ask("drop 101"), "drop 0") << "only the host drops";
  EXPECT_EQ(host.Ask("drop 104"), "drop 1");
  EXPECT_EQ(AskUntil(c, "active", "active 0"), "active 0");
  EXPECT_EQ(host.Ask("departed"), "departed 104");
  EXPECT_EQ(host.Ask("players"), "players 101");
}

TEST(Sessions, AHostThatReadsNothingForAWhileLosesNoTextAndStays) {
  int port = FreePort();
  Player host, guest;
  ASSERT_EQ(host.Ask("host " + Port(port) + " h"), "ok 101");
  ASSERT_EQ(guest.Ask("join " + Port(port) + " g"), "ok 102");
  // Far more than the host keeps for the game: its hub must hold the sender back.
  const std::string kTexts = "60000";
  EXPECT_EQ(guest.Ask("flood 101 " + kTexts, 70), "flooded " + kTexts);
  std::this_thread::sleep_for(std::chrono::seconds(4));  // the host still reads nothing
  EXPECT_EQ(host.Ask("ordered 102 " + kTexts, 70), "ordered " + kTexts);
  EXPECT_EQ(host.Ask("active"), "active 1");
  EXPECT_EQ(guest.Ask("active"), "active 1");
  EXPECT_EQ(guest.Ask("players"), "players 101|102");
  EXPECT_EQ(host.Ask("departed 0"), "departed ");
}

TEST(Sessions, TextsSentRightBeforeLeavingArriveBeforeTheEnd) {
  for (const char* count : {"50", "1000"}) {
    for (const char* end : {"leave", "end"}) {
      SCOPED_TRACE(std::string(count) + " texts, then " + end);
      int port = FreePort();
      Player host(std::string(end) == "end"), guest;
      ASSERT_EQ(host.Ask("host " + Port(port) + " h"), "ok 101");
      ASSERT_EQ(guest.Ask("join " + Port(port) + " g"), "ok 102");
      EXPECT_EQ(host.Ask("flood 102 " + std::string(count)), "flooded " + std::string(count));
      host.Ask(end, 5);
      EXPECT_EQ(guest.Ask("ordered 101 " + std::string(count)), "ordered " + std::string(count));
      EXPECT_EQ(AskUntil(guest, "active", "active 0"), "active 0");
    }
  }
}

TEST(Sessions, AcceptFlagKeepsNewPlayersOut) {
  int port = FreePort();
  Player host, late;
  ASSERT_EQ(host.Ask("host " + Port(port) + " h"), "ok 101");
  EXPECT_EQ(host.Ask("accept 0"), "accept");
  EXPECT_EQ(late.Ask("join " + Port(port) + " late"), "fail");
  EXPECT_EQ(host.Ask("accept 1"), "accept");
  // The refused attempt's registration waited in the queue: it may have used up an id.
  EXPECT_EQ(late.Ask("join " + Port(port) + " late").rfind("ok 10", 0), 0u);
}

TEST(Sessions, FailuresSpeakUnderVerbose) {
  int port = FreePort();
  Player player(false, true);
  EXPECT_EQ(player.Ask("join " + Port(port) + " v"), "fail");
  EXPECT_EQ(player.Ask("send 0 hi"), "sent 0");
  EXPECT_EQ(player.Ask("players"), "players ");
  std::string errors = player.Errors();
  EXPECT_NE(errors.find("SessionJoin: 127.0.0.1 port " + Port(port) + ": 10061 "),
            std::string::npos)
      << errors;
  EXPECT_NE(errors.find("SessionSend: player 0: not in a session\n"), std::string::npos) << errors;
  EXPECT_NE(errors.find("SessionPlayers: no answer"), std::string::npos) << errors;
}

TEST(Sessions, PortZeroMeansTheDefaultPort) {
  Player host, guest;
  std::string hosted = host.Ask("host 0 h");
  if (hosted == "fail") GTEST_SKIP() << "port 27910 is taken on this machine";
  EXPECT_EQ(hosted, "ok 101");
  EXPECT_EQ(guest.Ask("join 27910 g"), "ok 102");
}

TEST(Sessions, HostEndingThroughShutdownEndsTheSessionForAll) {
  int port = FreePort();
  Player host(true), b, c;
  ASSERT_EQ(host.Ask("host " + Port(port) + " h"), "ok 101");
  ASSERT_EQ(b.Ask("join " + Port(port) + " b"), "ok 102");
  ASSERT_EQ(c.Ask("join " + Port(port) + " c"), "ok 103");
  host.Ask("end", 0.1);
  int code = -1;
  ASSERT_TRUE(host.Exited(20, &code));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(AskUntil(b, "active", "active 0"), "active 0");
  EXPECT_EQ(AskUntil(c, "active", "active 0"), "active 0");
  std::ifstream log(host.Folder() + "/ErrorLog.txt");
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("qrv is shut down"), std::string::npos);
  EXPECT_EQ(b.Ask("join " + Port(port) + " b"), "fail") << "nobody hosts any more";
}

}  // namespace
}  // namespace net_test
