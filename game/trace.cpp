// The per-frame player trace. Every line is flushed at once: the program ends through the
// runtime's stop, which may come at any present.
#include "trace.h"

#include <cstdlib>

namespace skipdale {

PlayerTrace::PlayerTrace() {
  const char* path = std::getenv("SKIPDALE_TRACE");
  if (path != nullptr && *path != '\0') file_ = std::fopen(path, "wb");
}

PlayerTrace::~PlayerTrace() {
  if (file_ != nullptr) std::fclose(file_);
}

void PlayerTrace::Write(int32_t frame, const Player& p) {
  if (file_ == nullptr) return;
  std::fprintf(file_, "%d %d %d %d %d %d %d %d %d\n", frame, p.x, p.y, p.dx, p.dy, p.inAir,
               p.facingRight, p.lastColumn, p.lastRow);
  std::fflush(file_);
}

}  // namespace skipdale
