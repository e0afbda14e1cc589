// The browser build runs on the page's one thread: browsers give threads only to pages
// served with cross-origin isolation, which a plain web server does not send.
#include "platform/platform.h"

namespace qrv::platform {

bool CanStartThreads() { return false; }

}  // namespace qrv::platform
