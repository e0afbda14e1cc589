// Fixed-function lighting on the processor (see vertex_lighting.h). GL's formula with the
// engine's light: colour = emission (0) + scene ambient x material ambient + max(0, n.l) x light
// diffuse (1) x material diffuse, both materials the vertex colour; each channel clamped to
// 0..1; alpha the material's diffuse alpha.
#include "scene3d/vertex_lighting.h"

#include <algorithm>
#include <cmath>

namespace qrv {

namespace {

Vector3 Normalised(Vector3 v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (!(length > 0.0f) || !std::isfinite(length)) return {};
  return {v.x / length, v.y / length, v.z / length};
}

// Column-major 4x4 (GL's order): element (row, column) at column * 4 + row.
float At(const Matrix4& m, int row, int column) { return m[size_t(column * 4 + row)]; }

}  // namespace

Vector3 LightInEyeSpace(const Matrix4& camera, Vector3 towards) {
  // GL carries a light's position (here a direction, w = 0) through the model-view matrix.
  const float d[3] = {towards.x, towards.y, towards.z};
  float e[3];
  for (int row = 0; row < 3; ++row) {
    e[row] = At(camera, row, 0) * d[0] + At(camera, row, 1) * d[1] + At(camera, row, 2) * d[2];
  }
  return Normalised({e[0], e[1], e[2]});
}

bool LightVertices(const MeshVertex* vertices, uint32_t count, const Matrix4& modelview,
                   Vector3 towardsEye, float ambient, GrowableList<float>& rgba) {
  if (count > GrowableList<float>::kMaxCount / 4 || !rgba.Resize(count * 4)) return false;
  // Normals go through the inverse transpose of the model-view's upper 3x3; after
  // normalising, its cofactor matrix does the same, with the determinant's sign kept so that
  // a mirroring matrix still turns normals outwards.
  float c[3][3];
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      const int r1 = (row + 1) % 3, r2 = (row + 2) % 3;
      const int c1 = (column + 1) % 3, c2 = (column + 2) % 3;
      c[row][column] = At(modelview, r1, c1) * At(modelview, r2, c2) -
                       At(modelview, r1, c2) * At(modelview, r2, c1);
    }
  }
  const float determinant =
      At(modelview, 0, 0) * c[0][0] + At(modelview, 0, 1) * c[0][1] + At(modelview, 0, 2) * c[0][2];
  const float sign = determinant < 0.0f ? -1.0f : 1.0f;
  float* out = rgba.begin();
  for (uint32_t i = 0; i < count; ++i) {
    const float* n = vertices[i].normal;
    const Vector3 eye = Normalised({sign * (c[0][0] * n[0] + c[0][1] * n[1] + c[0][2] * n[2]),
                                    sign * (c[1][0] * n[0] + c[1][1] * n[1] + c[1][2] * n[2]),
                                    sign * (c[2][0] * n[0] + c[2][1] * n[1] + c[2][2] * n[2])});
    const float diffuse =
        std::max(0.0f, eye.x * towardsEye.x + eye.y * towardsEye.y + eye.z * towardsEye.z);
    const float* colour = vertices[i].rgba;
    for (int channel = 0; channel < 3; ++channel) {
      out[channel] = std::clamp(colour[channel] * (ambient + diffuse), 0.0f, 1.0f);
    }
    out[3] = std::clamp(colour[3], 0.0f, 1.0f);
    out += 4;
  }
  return true;
}

}  // namespace qrv
