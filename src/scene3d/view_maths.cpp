// The view maths of 3D mode: matrices in OpenGL's column-major order, the projection,
// the camera, the view-frustum planes, bounding spheres and the visibility test.
#include <algorithm>
#include <cmath>

#include "quorvia/scene3d.h"

namespace qrv {

namespace {

constexpr float kDegree = 0.017453292f;

float& At(Matrix4& m, int row, int column) {
  return m[column * 4 + row];
}
float At(const Matrix4& m, int row, int column) {
  return m[column * 4 + row];
}

Vector3 Normalised(Vector3 v) {
  float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0f) return v;
  return {v.x / length, v.y / length, v.z / length};
}

Vector3 Cross(Vector3 a, Vector3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Matrix4 FrustumMatrix(float l, float r, float b, float t, float n, float f) {
  Matrix4 m{};
  At(m, 0, 0) = 2 * n / (r - l);
  At(m, 1, 1) = 2 * n / (t - b);
  At(m, 0, 2) = (r + l) / (r - l);
  At(m, 1, 2) = (t + b) / (t - b);
  At(m, 2, 2) = -(f + n) / (f - n);
  At(m, 3, 2) = -1.0f;
  At(m, 2, 3) = -2 * f * n / (f - n);
  return m;
}

Matrix4 OrthographicMatrix(float l, float r, float b, float t, float n, float f) {
  Matrix4 m = IdentityMatrix();
  At(m, 0, 0) = 2 / (r - l);
  At(m, 1, 1) = 2 / (t - b);
  At(m, 2, 2) = -2 / (f - n);
  At(m, 0, 3) = -(r + l) / (r - l);
  At(m, 1, 3) = -(t + b) / (t - b);
  At(m, 2, 3) = -(f + n) / (f - n);
  return m;
}

}  // namespace

Matrix4 IdentityMatrix() {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b) {
  Matrix4 m{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += At(a, row, k) * At(b, k, column);
      At(m, row, column) = sum;
    }
  }
  return m;
}

Matrix4 TranslationMatrix(float x, float y, float z) {
  Matrix4 m = IdentityMatrix();
  m[12] = x, m[13] = y, m[14] = z;
  return m;
}

Matrix4 ScalingMatrix(float x, float y, float z) {
  Matrix4 m = IdentityMatrix();
  m[0] = x, m[5] = y, m[10] = z;
  return m;
}

Matrix4 RotationMatrix(float degrees, float x, float y, float z) {
  int nonZero = (x != 0.0f) + (y != 0.0f) + (z != 0.0f);
  Vector3 axis{x, y, z};
  if (nonZero == 1) {
    axis = {x > 0   ? 1.0f
            : x < 0 ? -1.0f
                    : 0.0f,
            y > 0   ? 1.0f
            : y < 0 ? -1.0f
                    : 0.0f,
            z > 0   ? 1.0f
            : z < 0 ? -1.0f
                    : 0.0f};
  } else {
    // Widened, so that huge axes do not overflow to an infinite length.
    double length = std::sqrt(double{x} * x + double{y} * y + double{z} * z);
    if (!(length > 0.0001)) return IdentityMatrix();
    axis = {static_cast<float>(x / length), static_cast<float>(y / length),
            static_cast<float>(z / length)};
  }
  float c = std::cos(degrees * kDegree), s = std::sin(degrees * kDegree), k = 1.0f - c;
  Matrix4 m = IdentityMatrix();
  float a[3] = {axis.x, axis.y, axis.z};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) At(m, row, column) = a[row] * a[column] * k;
    At(m, row, row) += c;
  }
  At(m, 0, 1) -= a[2] * s, At(m, 0, 2) += a[1] * s;
  At(m, 1, 0) += a[2] * s, At(m, 1, 2) -= a[0] * s;
  At(m, 2, 0) -= a[1] * s, At(m, 2, 1) += a[0] * s;
  return m;
}

Matrix4 LookAtMatrix(Vector3 eye, Vector3 target, Vector3 up) {
  Vector3 f = Normalised({eye.x - target.x, eye.y - target.y, eye.z - target.z});
  Vector3 s = Normalised(Cross(up, f));
  Vector3 u = Normalised(Cross(f, s));
  Matrix4 m = IdentityMatrix();
  const Vector3 rows[3] = {s, u, f};
  for (int row = 0; row < 3; ++row) {
    At(m, row, 0) = rows[row].x, At(m, row, 1) = rows[row].y, At(m, row, 2) = rows[row].z;
  }
  return MultiplyMatrices(m, TranslationMatrix(-eye.x, -eye.y, -eye.z));
}

Vector3 TransformPoint(const Matrix4& m, Vector3 p) {
  return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
          m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
          m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Matrix4 ProjectionMatrix(float nearPlane, float farPlane, float fovDegrees, float aspect) {
  constexpr float kPi = 3.14159265f;
  if (fovDegrees > 0.0f) {
    float h = nearPlane * std::tan(fovDegrees * kPi / 360.0f);
    return FrustumMatrix(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
  }
  float h = nearPlane * std::tan(-fovDegrees * kPi / 360.0f) * 100.0f;
  return OrthographicMatrix(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
}

bool ProjectionPossible(float nearPlane, float farPlane, float fovDegrees, float aspect) {
  for (float value : {nearPlane, farPlane, fovDegrees, aspect}) {
    if (!std::isfinite(value)) return false;
  }
  if (nearPlane == farPlane) return false;
  if (fovDegrees > 0.0f && (nearPlane <= 0.0f || farPlane <= 0.0f || fovDegrees >= 180.0f)) {
    return false;
  }
  const Matrix4 m = ProjectionMatrix(nearPlane, farPlane, fovDegrees, aspect);
  return std::all_of(m.begin(), m.end(), [](float value) { return std::isfinite(value); });
}

float CullingTangent(float fovDegrees) {
  constexpr float kWidest = 1.553343f;  // 89 degrees
  if (fovDegrees <= 0.0f || fovDegrees + 5.0f > 89.0f) return std::tan(kWidest);
  return std::tan((fovDegrees + 5.0f) * kDegree);
}

FrustumPlanes ExtractFrustumPlanes(const Matrix4& projection, const Matrix4& modelview) {
  Matrix4 c = MultiplyMatrices(projection, modelview);
  FrustumPlanes planes{};
  for (int i = 0; i < 6; ++i) {
    int row = i / 2;
    float sign = i % 2 == 0 ? 1.0f : -1.0f;
    for (int k = 0; k < 4; ++k) planes[i][k] = At(c, 3, k) + sign * At(c, row, k);
    float length = std::sqrt(planes[i][0] * planes[i][0] + planes[i][1] * planes[i][1] +
                             planes[i][2] * planes[i][2]);
    if (length > 0.0f) {
      for (float& value : planes[i]) value /= length;
    }
  }
  return planes;
}

bool SphereVisible(const FrustumPlanes& planes, const Matrix4& object,
                   const BoundingSphere& sphere) {
  Vector3 centre = TransformPoint(object, {sphere.centre[0], sphere.centre[1], sphere.centre[2]});
  float scale = 0.0f;
  for (int column = 0; column < 3; ++column) {
    Vector3 axis{At(object, 0, column), At(object, 1, column), At(object, 2, column)};
    scale = std::max(scale, std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z));
  }
  float radius = sphere.radius * scale;
  for (const auto& plane : planes) {
    if (plane[0] * centre.x + plane[1] * centre.y + plane[2] * centre.z + plane[3] < -radius) {
      return false;
    }
  }
  return true;
}

BoundingSphere FrameBoundingSphere(const MeshFrame& frame) {
  BoundingSphere sphere;
  if (frame.vertices.Count() == 0) return sphere;
  float low[3], high[3];
  for (int axis = 0; axis < 3; ++axis) low[axis] = high[axis] = frame.vertices[0].position[axis];
  for (const MeshVertex& vertex : frame.vertices) {
    for (int axis = 0; axis < 3; ++axis) {
      low[axis] = std::min(low[axis], vertex.position[axis]);
      high[axis] = std::max(high[axis], vertex.position[axis]);
    }
  }
  for (int axis = 0; axis < 3; ++axis) sphere.centre[axis] = (low[axis] + high[axis]) / 2;
  float square = 0.0f;
  for (const MeshVertex& vertex : frame.vertices) {
    float d[3];
    for (int axis = 0; axis < 3; ++axis) d[axis] = vertex.position[axis] - sphere.centre[axis];
    square = std::max(square, d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  }
  // A hair wider, so that rounding never leaves a vertex outside.
  sphere.radius = std::sqrt(square) * 1.0001f;
  return sphere;
}

void StartView(ViewState& view, float nearPlane, float farPlane, float fovDegrees, float aspect) {
  view.cullingTangent = CullingTangent(fovDegrees);
  view.up = {0.0f, 1.0f, 0.0f};
  view.projection = ProjectionMatrix(nearPlane, farPlane, fovDegrees, aspect);
  PlaceCamera(view, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
}

void PlaceCamera(ViewState& view, Vector3 eye, Vector3 target) {
  view.modelview = LookAtMatrix(eye, target, view.up);
  view.transforms.Reset();
  view.planes = ExtractFrustumPlanes(view.projection, view.modelview);
}

}  // namespace qrv
