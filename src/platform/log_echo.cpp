// The error log on the desktop: its file is the one place for it.
#include "platform/platform.h"

namespace qrv::platform {

void EchoLogLine(const char* text) {}

}  // namespace qrv::platform
