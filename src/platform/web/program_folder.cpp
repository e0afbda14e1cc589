// The program's folder in the browser: "/app", which the page keeps in the browser's
// storage across visits (settings files, line stores, high scores). The page fills it
// before the program starts and saves it after every change.
#include "platform/platform.h"

namespace qrv::platform {

std::string ProgramFolder() { return "/app"; }

}  // namespace qrv::platform
