// Skipdale_2's main routine: loads the graphics and the map, then runs the frame loop.
#pragma once

#include <cstdint>

namespace skipdale {

// Returns 0 when the map cannot be loaded; otherwise the program ends inside the loop.
int32_t GameMain();

}  // namespace skipdale
