// A chat between two (or more) windows over a session.
//
//   example_net_chat host [PORT] [NAME]        hosts a session and takes part in it
//   example_net_chat join HOST [PORT] [NAME]   joins the session that HOST hosts
//
// Type into the window and press Enter to send the line to every other player; Escape
// leaves. The runtime has no text drawing yet, so the conversation (and the line being
// typed) is shown on the console; the window title says which side the window is.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "quorvia/quorvia.h"

using namespace qrv;

namespace {

std::string gRole, gHost = "127.0.0.1", gName;
int32_t gPort = 0;

void Settings(ProjectSettings& settings) {
  settings.frameRate = 30;
  settings.title = ("Quorvia chat (" + gRole + ")").c_str();
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Everything that arrived since the last frame: texts and departures.
void ShowArrivals() {
  int32_t sender = 0;
  for (RtString text = SessionReceive(0, sender); sender != 0; text = SessionReceive(0, sender)) {
    Say("[" + std::to_string(sender) + " " + SessionPlayerName(sender).c_str() + "] " +
        text.c_str());
  }
  RtString departed = SessionDeparted();
  if (!departed.Empty()) Say(std::string("(left: ") + departed.c_str() + ")");
}

void Chat() {
  SessionName(gName.c_str());
  int32_t ok = gRole == "host" ? SessionHost(gPort) : SessionJoin(gHost.c_str(), gPort);
  if (!ok) {
    Say(std::string("could not ") + gRole + ": " + NetErrorText().c_str());
    return;
  }
  Say("in the session as player " + std::to_string(SessionOwnId()) + "; players " +
      SessionPlayers().c_str());
  std::string typing;
  while (SessionActive()) {
    ShowArrivals();
    RtString key = ReadKeyChar();
    char c = key.Empty() ? 0 : key[0];
    if ((c == '\r' || c == '\n') && !typing.empty()) {
      SessionSend(0, typing.c_str());
      Say("[me] " + typing);
      typing.clear();
    } else if (c == '\b' && !typing.empty()) {
      typing.pop_back();
    } else if (c >= ' ') {
      typing += key.c_str();
      std::printf("> %s\r", typing.c_str());
      std::fflush(stdout);
    }
    ClearScreen(SessionActive() ? 0x302010 : 0x000040);
    Present();
  }
  Say("the session has ended");
}

}  // namespace

int main(int argc, char** argv) {
  gRole = argc > 1 ? argv[1] : "host";
  int next = 2;
  if (gRole == "join" && argc > next) gHost = argv[next++];
  if (argc > next) gPort = std::atoi(argv[next++]);
  gName = argc > next ? argv[next] : gRole;
  RunProgram(argc, argv, {Settings, Chat, nullptr});
}
