// The 3D scene engine Zozezezi3D: object files, camera and transforms, object drawing.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
