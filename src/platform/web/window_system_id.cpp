// A page's canvas has no id of the window system's.
#include "platform/window_host.h"

namespace qrv::platform {

uint64_t WindowSystemId(HostWindow* window) { return 0; }

}  // namespace qrv::platform
