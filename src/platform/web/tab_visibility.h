// The page's tab hidden and in front again, reported as the game window's focus changes.
#pragma once

namespace qrv::platform {

// Starts the reports; later calls change nothing.
void WatchTabVisibility();

}  // namespace qrv::platform
