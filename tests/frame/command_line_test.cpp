// The command-line text: arguments with blanks, quotes and backslashes come back exactly
// when the text is split by the usual rule (written out here as the reader would).
#include "frame/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Splits a command line: blanks end an argument outside quotes; 2n backslashes before a
// '"' give n and the quote opens or closes, 2n+1 give n and a literal '"'.
std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> arguments;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else {
          quoted = !quoted;
        }
      } else {
        argument.append(backslashes, '\\');
        if (i == line.size()) break;
        if (!quoted && (line[i] == ' ' || line[i] == '\t')) break;
        argument += line[i];
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

TEST(CommandLine, EveryArgumentComesBackExactly) {
  std::vector<std::string> arguments = {
      "game",      "plain",       "two words", "",          "say \"hi\"",
      "\"",        "a\\b",        "ends\\",    "sp ace\\",  "q\\\"",
      "tab\there", "line\nbreak", "x\\\\\"y",  "--level=3", "\\\\server\\share"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  qrv::RtString line = qrv::JoinCommandLine(int(argv.size()), argv.data());
  EXPECT_EQ(Split(line.c_str()), arguments) << line.c_str();
  // Arguments that need nothing are kept as they are.
  char* simple[] = {const_cast<char*>("game"), const_cast<char*>("-x"), const_cast<char*>("a\\b")};
  EXPECT_STREQ(qrv::JoinCommandLine(3, simple).c_str(), "game -x a\\b");
}

}  // namespace
