// Joining arguments into the command-line text and splitting the text back, by one
// quoting rule.
#include "platform/command_line.h"

#include <cstring>

namespace qrv::platform {

static bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

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

std::string JoinCommandLine(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += ' ';
    line += NeedsQuotes(argv[i]) ? Quoted(argv[i]) : std::string(argv[i]);
  }
  return line;
}

// Reads one argument starting at i (not a blank); i ends after it.
static std::string ReadArgument(std::string_view line, size_t& i) {
  std::string argument;
  bool quoted = false;
  while (i < line.size() && (quoted || !IsBlank(line[i]))) {
    size_t backslashes = 0;
    while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
    if (i < line.size() && line[i] == '"') {
      argument.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        argument += '"';
      } else {
        quoted = !quoted;
      }
      ++i;
    } else {
      // Backslashes before anything but a quote are themselves.
      argument.append(backslashes, '\\');
      if (i < line.size() && (quoted || !IsBlank(line[i]))) argument += line[i++];
    }
  }
  return argument;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return arguments;
    arguments.push_back(ReadArgument(line, i));
  }
}

}  // namespace qrv::platform
