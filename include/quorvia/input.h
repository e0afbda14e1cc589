// Input: keyboard, mouse and joysticks, and the blocking waits.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
