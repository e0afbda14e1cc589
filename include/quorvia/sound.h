// Sound: sound effects and music.
#pragma once

#include <cstdint>

#include "quorvia/rt_string.h"

namespace qrv {}  // namespace qrv
