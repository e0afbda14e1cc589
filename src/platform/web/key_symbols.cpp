// Shifted characters in the browser: a page cannot read the keyboard layout's shift level
// of a key that is not being typed, so the key's plain character stands.
#include "platform/input_host.h"

namespace qrv::platform {

char ShiftedKeyCharacter(uint8_t code, char plain) { return plain; }

}  // namespace qrv::platform
