// Frame animation: which two key frames a draw uses, with what weight, and the blended
// vertex list between them.
#include <algorithm>
#include <cmath>

#include "quorvia/scene3d.h"

namespace qrv {

namespace {

uint32_t ClampFrame(double frame, uint32_t frameCount) {
  if (!(frame > 0.0) || frameCount == 0) return 0;
  return static_cast<uint32_t>(std::min(frame, static_cast<double>(frameCount - 1)));
}

}  // namespace

FrameChoice ChooseFrames(int32_t from, int32_t to, double time, bool interpolate,
                         uint32_t frameCount) {
  FrameChoice choice;
  // Times that are not numbers count as 0; they would give frames that are none.
  if (!std::isfinite(time)) time = 0.0;
  double first = from, second = to;
  if (!interpolate) {
    // Kept within float range: a larger double has no float to become.
    choice.weight = static_cast<float>(std::clamp(time, -1e30, 1e30));
  } else if (from == to) {
    choice.weight = 0.0f;
  } else {
    if (time > 1.0 || time < 0.0) time = std::fabs(std::fmod(time, 1.0));
    double t = (static_cast<double>(to) - from) * time + from;
    double a = std::trunc(t);
    first = from < to ? a : a + 1;
    second = from < to ? a + 1 : a;
    choice.weight = static_cast<float>(from < to ? 1.0 - (t - a) : t - a);
  }
  choice.first = ClampFrame(first, frameCount);
  choice.second = ClampFrame(second, frameCount);
  return choice;
}

bool BlendFrames(const MeshFrame& first, const MeshFrame& second, float weight,
                 GrowableList<MeshVertex>& out) {
  uint32_t count = std::min(first.vertices.Count(), second.vertices.Count()) / 3 * 3;
  if (!out.Reserve(count) || !out.Resize(count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const MeshVertex& a = first.vertices[i];
    const MeshVertex& b = second.vertices[i];
    MeshVertex& v = out[i];
    v = a;
    for (int k = 0; k < 3; ++k) {
      v.position[k] = b.position[k] + (a.position[k] - b.position[k]) * weight;
      v.normal[k] = b.normal[k] + (a.normal[k] - b.normal[k]) * weight;
    }
  }
  return true;
}

}  // namespace qrv
