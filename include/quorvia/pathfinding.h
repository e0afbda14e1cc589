// Path finding: the A* planner family and the FindPath command.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
