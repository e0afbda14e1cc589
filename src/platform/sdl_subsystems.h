// Starting SDL's subsystems: every platform file that needs one asks here.
#pragma once

#include <cstdint>

namespace qrv::platform {

// Starts the SDL subsystems in flags (SDL_INIT_...). The program's own main() is its
// entry on every host, never SDL's replacement of it, so SDL is told that the start-up it
// would otherwise wait for has happened. False when SDL refuses.
// SDL counts its subsystems' users without a lock: this call and StopSdlSubsystems take
// one of their own, so the sound device may open on a thread while others start or stop.
bool StartSdlSubsystems(uint32_t flags);
void StopSdlSubsystems(uint32_t flags);

}  // namespace qrv::platform
