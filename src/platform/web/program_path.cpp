// The program's file in the browser: the page loads the program's media pack here, so that
// media packed into the program are found as on the desktop.
#include "platform/platform.h"

namespace qrv::platform {

std::string ExecutablePath() { return "/pack/program"; }

}  // namespace qrv::platform
