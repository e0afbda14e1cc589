// The command line as one text, the way the program's own host gives and takes it, and
// back into arguments on a host whose programs take argument lists. One quoting rule
// serves both ways: outside double quotes blanks (space, tab) separate arguments; 2n
// backslashes before a '"' give n backslashes and the quote opens or closes a quoted
// part, 2n+1 give n and a literal '"'; any other backslash is itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qrv::platform {

// The arguments joined by blanks. An argument that is empty or holds a blank, tab, line
// break or '"' is put in double quotes, with each '"' inside written as \" and the
// backslashes before a '"' (or before the closing quote) doubled, so that
// SplitCommandLine gives every argument back exactly.
std::string JoinCommandLine(int argc, char** argv);

// The arguments of a command line by the rule above. A quote left open runs to the end
// of the line. A line of blanks holds no argument.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace qrv::platform
