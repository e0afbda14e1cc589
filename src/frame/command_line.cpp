// Joining the process arguments into the command-line text, quoting what needs it.
#include "frame/command_line.h"

#include <cstring>
#include <string>

namespace qrv {

static bool NeedsQuotes(const char* argument) {
  return argument[0] == 0 || std::strpbrk(argument, " \t\n\v\"") != nullptr;
}

static std::string Quoted(const char* argument) {
  std::string text = "\"";
  size_t backslashes = 0;
  for (const char* c = argument;; ++c) {
    if (*c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count double before a quote: the argument's own or the closing one.
    bool quoteFollows = *c == '"' || *c == 0;
    text.append(quoteFollows ? backslashes * 2 : backslashes, '\\');
    backslashes = 0;
    if (*c == 0) break;
    if (*c == '"') text += '\\';
    text += *c;
  }
  return text + "\"";
}

RtString JoinCommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += ' ';
    line += NeedsQuotes(argv[i]) ? Quoted(argv[i]) : std::string(argv[i]);
  }
  return RtString(line.c_str());
}

}  // namespace qrv
