// Network: sockets, sessions and HTTP downloads.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
