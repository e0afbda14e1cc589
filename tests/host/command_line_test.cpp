// The command-line text: arguments joined into one text and split back by one quoting
// rule (blanks separate; 2n backslashes before a '"' give n and the quote opens or
// closes, 2n+1 give n and a literal '"'). Expected texts are written out by hand.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;
using qrv::platform::JoinCommandLine;
using qrv::platform::SplitCommandLine;

TEST(CommandLine, SplitsByBlanksQuotesAndBackslashes) {
  struct Case {
    const char* line;
    Arguments arguments;
  } cases[] = {
      {"prog a  b\tc", {"prog", "a", "b", "c"}},
      {"  \t ", {}},
      {"", {}},
      {"\"a b\" \"\" x\"y z\"w", {"a b", "", "xy zw"}},
      {"a\\\"b", {"a\"b"}},          // 1 backslash: a literal quote
      {"a\\\\\"b c\"", {"a\\b c"}},  // 2: one backslash, the quote opens
      {"a\\\\\\\"b", {"a\\\"b"}},    // 3: one backslash and a literal quote
      {"\\\\server\\share x\\", {"\\\\server\\share", "x\\"}},  // no quote follows
      {"\"open to the end", {"open to the end"}},
      {"\"ends\\\\\" next", {"ends\\", "next"}},
      // Shell syntax means nothing here.
      {"p \"$(touch X)x\" a;touch X `y` $HOME 'q r'",
       {"p", "$(touch X)x", "a;touch", "X", "`y`", "$HOME", "'q", "r'"}},
      {"line\nbreak\vstays", {"line\nbreak\vstays"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.arguments) << c.line;
}

TEST(CommandLine, JoinedArgumentsComeBackExactly) {
  Arguments arguments = {"game",      "plain",       "two words", "",          "say \"hi\"",
                         "\"",        "a\\b",        "ends\\",    "sp ace\\",  "q\\\"",
                         "tab\there", "line\nbreak", "x\\\\\"y",  "--level=3", "\\\\server\\share"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  std::string line = JoinCommandLine(int(argv.size()), argv.data());
  EXPECT_EQ(line,
            "game plain \"two words\" \"\" \"say \\\"hi\\\"\" \"\\\"\" a\\b ends\\ \"sp ace\\\\\" "
            "\"q\\\\\\\"\" \"tab\there\" \"line\nbreak\" \"x\\\\\\\\\\\"y\" --level=3 "
            "\\\\server\\share");
  EXPECT_EQ(SplitCommandLine(line), arguments) << line;
}
