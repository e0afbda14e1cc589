// The keys the frame itself watches (Escape, Alt+F4), read in one place.
#include "frame/runtime.h"
#include "platform/window_host.h"

namespace qrv {

bool KeyDownForFrame(int32_t code) { return platform::EndingKeyHeld(code); }

}  // namespace qrv
