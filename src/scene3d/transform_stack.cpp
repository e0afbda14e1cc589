// The per-object transform stack of 3D mode: each level starts from the composed matrix
// of the level below and adds its own extra matrices, movement, rotations and scaling.
#include "quorvia/scene3d.h"

namespace qrv {

void TransformStack::Reset() {
  current_ = 0;
  StartLevel(0);
}

void TransformStack::StartLevel(int32_t level) {
  LevelState& state = levels_[level];
  state.base = level == 0 ? IdentityMatrix() : levels_[level - 1].composed;
  state.composed = state.base;
  state.movement = {};
  state.scaling = {1.0f, 1.0f, 1.0f};
  state.rotationCount = 0;
  state.extra.clear();
  state.upToDate = true;
}

void TransformStack::Restart(LevelState& level) {
  level.base = current_ == 0 ? IdentityMatrix() : levels_[current_ - 1].composed;
  level.rotationCount = 0;
  level.extra.clear();
  level.upToDate = false;
}

void TransformStack::SetMovement(float x, float y, float z) {
  LevelState& level = levels_[current_];
  Restart(level);
  level.movement = {x, y, z};
}

void TransformStack::SetScaling(float x, float y, float z) {
  LevelState& level = levels_[current_];
  Restart(level);
  level.scaling = {x, y, z};
}

void TransformStack::AddRotation(float degrees, float x, float y, float z) {
  LevelState& level = levels_[current_];
  level.upToDate = false;
  if (level.rotationCount < kRotations) level.rotations[level.rotationCount++] = {degrees, x, y, z};
}

void TransformStack::AddMatrix(const Matrix4& m) {
  LevelState& level = levels_[current_];
  level.upToDate = false;
  if (level.extra.size() < static_cast<size_t>(kRotations)) level.extra.push_back(m);
}

void TransformStack::Push() {
  if (current_ >= kLevels - 1) return;
  Compose(current_);
  ++current_;
  StartLevel(current_);
}

void TransformStack::Pop() {
  if (current_ > 0) {
    --current_;
  } else {
    StartLevel(0);
  }
}

const Matrix4& TransformStack::Compose(int32_t index) {
  if (index < 0 || index >= kLevels) index = current_;
  LevelState& level = levels_[index];
  if (level.upToDate) return level.composed;
  Matrix4 m = level.base;
  for (const Matrix4& extra : level.extra) m = MultiplyMatrices(m, extra);
  const Vector3& t = level.movement;
  if (t.x != 0.0f || t.y != 0.0f || t.z != 0.0f) {
    m = MultiplyMatrices(m, TranslationMatrix(t.x, t.y, t.z));
  }
  for (int32_t i = level.rotationCount - 1; i >= 0; --i) {
    const Rotation& r = level.rotations[i];
    m = MultiplyMatrices(m, RotationMatrix(r.degrees, r.x, r.y, r.z));
  }
  const Vector3& s = level.scaling;
  if (s.x != 1.0f || s.y != 1.0f || s.z != 1.0f) {
    m = MultiplyMatrices(m, ScalingMatrix(s.x, s.y, s.z));
  }
  level.composed = m;
  level.upToDate = true;
  return level.composed;
}

}  // namespace qrv
