// Starting SDL's subsystems: every platform file that needs one asks here.
#pragma once

#include <cstdint>

namespace qrv::platform {

// Starts the SDL subsystems in flags (SDL_INIT_...). The program's own main() is its
// entry on every host, never SDL's replacement of it, so SDL is told that the start-up it
// would otherwise wait for has happened. False when SDL refuses.
bool StartSdlSubsystems(uint32_t flags);

}  // namespace qrv::platform
