// Threads on the desktop: always there.
#include "platform/platform.h"

namespace qrv::platform {

bool CanStartThreads() { return true; }

}  // namespace qrv::platform
