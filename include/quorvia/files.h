// Files and the host: file channels, memory names and media packs, file-system
// helpers, platform information and settings files.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
