// The process command line as one text, the way the program's own host would give it.
#pragma once

#include "quorvia/rt_string.h"

namespace qrv {

// The arguments joined by blanks. An argument that is empty or holds a blank, tab, line
// break or '"' is put in double quotes, with each '"' inside written as \" and the
// backslashes before a '"' (or before the closing quote) doubled, so that the usual
// splitting rule gives every argument back exactly.
RtString JoinCommandLine(int argc, char** argv);

}  // namespace qrv
