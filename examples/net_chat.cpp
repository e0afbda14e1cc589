// A chat between two (or more) windows over a session.
//
//   example_net_chat host [PORT] [NAME]        hosts a session and takes part in it
//   example_net_chat join HOST [PORT] [NAME]   joins the session that HOST hosts
//
// Type into the window and press Enter to send the line to every other player; Escape
// leaves. The window shows the last lines of the conversation and the line being typed
// (PrintText with the built-in font); the console gets the conversation too, and the
// window title says which side the window is.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "quorvia/quorvia.h"

using namespace qrv;

namespace {

std::string gRole, gHost = "127.0.0.1", gName;
int32_t gPort = 0;
std::deque<std::string> gLines;  // the conversation's last lines, oldest first

void Settings(ProjectSettings& settings) {
  settings.frameRate = 30;
  settings.title = ("Quorvia chat (" + gRole + ")").c_str();
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  gLines.push_back(line);
  if (gLines.size() > 100) gLines.pop_front();
}

// The newest lines that fit, oldest at the top; the line being typed at the bottom.
void DrawConversation(const std::string& typing) {
  int32_t cellWidth = 0, cellHeight = 0, screenWidth = 0, screenHeight = 0;
  FontSize(cellWidth, cellHeight);
  GetScreenSize(screenWidth, screenHeight);
  const int32_t step = std::max(1, cellHeight + 2);
  const int32_t typingY = screenHeight - step - 6;
  const size_t room = size_t(std::max(0, (typingY - 8) / step));
  float y = 8;
  for (size_t i = gLines.size() > room ? gLines.size() - room : 0; i < gLines.size(); ++i) {
    PrintText(gLines[i].c_str(), 8, y);
    y += float(step);
  }
  PrintText(("> " + typing + "_").c_str(), 8, float(typingY));
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
    }
    ClearScreen(SessionActive() ? 0x302010 : 0x000040);
    DrawConversation(typing);
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
