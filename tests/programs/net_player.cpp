// A session player driven line by line on standard input, answering one line per command
// on standard output. Tests start several of these to form real sessions.
//
//   host PORT NAME | join PORT NAME   -> "ok ID" or "fail"
//   send TO TEXT...                   -> "sent 1|0"
//   recv FROM                         -> "text SENDER TEXT" or "none" (waits up to 5 s)
//   drain FROM COUNT                  -> "got N" after taking COUNT texts (waits up to 10 s)
//   flood TO COUNT                    -> "flooded N": sends the numbered texts 0..COUNT-1,
//                                        each tried again until taken (up to 60 s)
//   ordered FROM COUNT                -> "ordered N": takes texts until COUNT came (up to
//                                        60 s, or until the session has ended and every
//                                        text is taken); N counts those that were the numbered
//                                        texts in order, up to the first one out of place
//   players | name ID | departed [S]  -> the answer (departed waits up to S s, 5 s, for one)
//   active | drop ID | accept FLAG | leave
//   end                               -> ends the program through the runtime's shutdown
//   vanish                            -> ends at once, without any goodbye
// With --runtime the commands run as the main routine of a runtime program.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "quorvia/quorvia.h"

using namespace qrv;

namespace {

bool gRuntime = false;

void Reply(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

template <class Condition>
bool Within(double seconds, Condition condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::string Word(const std::string& line, size_t n) {
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) start = line.find(' ', start) + 1;
  if (start == 0 && n > 0) return "";
  return line.substr(start, line.find(' ', start) - start);
}

std::string Rest(const std::string& line, size_t n) {
  size_t start = 0;
  for (size_t i = 0; i < n && start != std::string::npos; ++i) {
    start = line.find(' ', start);
    if (start != std::string::npos) ++start;
  }
  return start == std::string::npos ? "" : line.substr(start);
}

int Number(const std::string& line, size_t n) {
  return std::atoi(Word(line, n).c_str());
}

// Text number i of a flood: its number, padded to 40 bytes.
std::string NumberedText(int i) {
  std::string text = std::to_string(i);
  text.resize(40, '.');
  return text;
}

void Command(const std::string& line) {
  std::string verb = Word(line, 0);
  if (verb == "host" || verb == "join") {
    SessionName(Word(line, 2).c_str());
    int32_t ok =
        verb == "host" ? SessionHost(Number(line, 1)) : SessionJoin("127.0.0.1", Number(line, 1));
    Reply(ok ? "ok " + std::to_string(SessionOwnId()) : "fail");
  } else if (verb == "send") {
    Reply("sent " + std::to_string(SessionSend(Number(line, 1), Rest(line, 2).c_str())));
  } else if (verb == "recv") {
    int32_t sender = 0;
    RtString text;
    Within(5, [&] {
      return !(text = SessionReceive(Number(line, 1), sender)).Empty() || sender != 0;
    });
    Reply(sender == 0 ? "none" : "text " + std::to_string(sender) + " " + text.c_str());
  } else if (verb == "drain") {
    int wanted = Number(line, 2), got = 0;
    Within(10, [&] {
      int32_t sender = 0;
      SessionReceive(Number(line, 1), sender);
      got += sender != 0;
      return got >= wanted;
    });
    Reply("got " + std::to_string(got));
  } else if (verb == "flood") {
    int count = Number(line, 2), sent = 0;
    Within(60, [&] {
      while (sent < count && SessionSend(Number(line, 1), NumberedText(sent).c_str()) == 1) ++sent;
      return sent >= count;
    });
    Reply("flooded " + std::to_string(sent));
  } else if (verb == "ordered") {
    int count = Number(line, 2), got = 0, inOrder = 0;
    Within(60, [&] {
      bool over = SessionActive() == 0;  // then nothing more comes
      for (int32_t sender = 1; sender != 0 && got < count;) {
        RtString text = SessionReceive(Number(line, 1), sender);
        if (sender == 0) break;
        inOrder += inOrder == got && text.c_str() == NumberedText(got);
        ++got;
      }
      return got >= count || over;
    });
    Reply("ordered " + std::to_string(inOrder));
  } else if (verb == "players") {
    Reply(std::string("players ") + SessionPlayers().c_str());
  } else if (verb == "name") {
    Reply(std::string("name ") + SessionPlayerName(Number(line, 1)).c_str());
  } else if (verb == "departed") {
    RtString ids;
    double wait = Word(line, 1).empty() ? 5 : Number(line, 1);
    Within(wait, [&] { return !(ids = SessionDeparted()).Empty(); });
    Reply(std::string("departed ") + ids.c_str());
  } else if (verb == "active") {
    Reply("active " + std::to_string(SessionActive()));
  } else if (verb == "drop") {
    Reply("drop " + std::to_string(SessionDrop(Number(line, 1))));
  } else if (verb == "accept") {
    SessionAccept(Number(line, 1));
    Reply("accept");
  } else if (verb == "leave") {
    Reply("leave " + std::to_string(SessionLeave()));
  } else if (verb == "vanish") {
    _exit(3);
  } else {
    Reply("unknown " + verb);
  }
}

void Serve() {
  char line[4096];
  while (std::fgets(line, sizeof line, stdin) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text == "end") break;
    Command(text);
  }
  if (gRuntime) End();
  ReleaseNetworkState();
  Reply("ended");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--runtime") == 0) {
    gRuntime = true;
    RunProgram(argc, argv, {nullptr, Serve, nullptr});
  }
  Serve();
  return 0;
}
