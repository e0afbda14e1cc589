// Host error numbers to network codes (the table is in socket_errors.cpp).
#pragma once

#include <cstdint>

namespace qrv::platform {

// An errno value as a network code (0 stays 0; an unknown error becomes 10022).
int32_t NetworkCodeOfErrno(int hostError);
// A look-up (EAI_) error as a network code (11001 host not found, ...).
int32_t NetworkCodeOfLookUp(int lookUpError);

}  // namespace qrv::platform
