// The view maths of 3D mode: the transform stack's levels and order, the projection's
// culling tangent, the camera, and the visibility test at the frustum's edges.
#include <gtest/gtest.h>

#include <cmath>

#include "quorvia/scene3d.h"

namespace {

void ExpectPoint(const qrv::Matrix4& m, qrv::Vector3 p, qrv::Vector3 expected) {
  qrv::Vector3 got = qrv::TransformPoint(m, p);
  EXPECT_NEAR(got.x, expected.x, 1e-5f);
  EXPECT_NEAR(got.y, expected.y, 1e-5f);
  EXPECT_NEAR(got.z, expected.z, 1e-5f);
}

// A vertex is scaled, then rotated in the order the rotations were added, then moved.
TEST(TransformStack, ComposesScalingRotationsThenMovement) {
  qrv::TransformStack stack;
  stack.SetMovement(10, 0, 0);
  stack.SetScaling(2, 2, 2);
  stack.AddRotation(90, 0, 0, 1);   // x -> y
  stack.AddRotation(90, 0, -3, 0);  // about -y: z -> -x
  ExpectPoint(stack.Current(), {1, 0, 0}, {10, 2, 0});
  ExpectPoint(stack.Current(), {0, 0, 1}, {8, 0, 0});
  // Setting the movement again drops the rotations but keeps the scaling.
  stack.SetMovement(0, 5, 0);
  ExpectPoint(stack.Current(), {1, 0, 0}, {2, 5, 0});
  // An axis off the coordinate axes is normalised; a tiny one does nothing.
  stack.AddRotation(120, 1, 1, 1);
  ExpectPoint(stack.Current(), {1, 0, 0}, {0, 7, 0});
  stack.SetScaling(1, 1, 1);
  stack.AddRotation(90, 0.00001f, 0.00001f, 0);
  ExpectPoint(stack.Current(), {1, 0, 0}, {1, 5, 0});
  // A 17th rotation on one level is ignored: 16 quarter turns are whole turns.
  stack.SetMovement(1, 5, 0);
  for (int i = 0; i < 17; ++i) stack.AddRotation(90, 0, 0, 1);
  ExpectPoint(stack.Current(), {1, 0, 0}, {2, 5, 0});
}

TEST(TransformStack, SixteenLevelsEachStartingFromTheOneBelow) {
  qrv::TransformStack stack;
  for (int level = 0; level < 16; ++level) {
    EXPECT_EQ(stack.Level(), level);
    stack.SetMovement(1, 0, 0);
    stack.Push();
  }
  // The push that would open a 17th level is ignored.
  EXPECT_EQ(stack.Level(), 15);
  ExpectPoint(stack.Current(), {0, 0, 0}, {16, 0, 0});
  stack.Push();
  EXPECT_EQ(stack.Level(), 15);
  ExpectPoint(stack.Current(), {0, 0, 0}, {16, 0, 0});
  for (int i = 0; i < 15; ++i) stack.Pop();
  EXPECT_EQ(stack.Level(), 0);
  ExpectPoint(stack.Current(), {0, 0, 0}, {1, 0, 0});
  // A pop at level 0 resets it.
  stack.AddRotation(45, 0, 1, 0);
  stack.Pop();
  EXPECT_EQ(stack.Level(), 0);
  EXPECT_EQ(stack.Current(), qrv::IdentityMatrix());
  // A pushed level starts from the composed level below, rotations included.
  stack.AddRotation(90, 0, 0, 1);
  stack.Push();
  stack.SetMovement(1, 0, 0);
  ExpectPoint(stack.Current(), {0, 0, 0}, {0, 1, 0});
}

TEST(Projection, CullingTangentAndOrthographicHeight) {
  EXPECT_NEAR(qrv::CullingTangent(45), std::tan(50 * 0.017453292f), 1e-5f);
  EXPECT_NEAR(qrv::CullingTangent(84), std::tan(1.553343f), 1e-2f);
  EXPECT_FLOAT_EQ(qrv::CullingTangent(120), std::tan(1.553343f));
  EXPECT_FLOAT_EQ(qrv::CullingTangent(-30), std::tan(1.553343f));
  // fov <= 0: a box 100 x near x tan(|fov| / 2) high.
  qrv::Matrix4 ortho = qrv::ProjectionMatrix(0.5f, 50, -10, 2);
  float h = 100 * 0.5f * std::tan(5 * 0.017453292f);
  EXPECT_NEAR(ortho[5], 1 / h, 1e-4f);
  EXPECT_NEAR(ortho[0], 1 / (2 * h), 1e-4f);
}

TEST(Camera, LooksFromTheEyeAtTheTarget) {
  qrv::Matrix4 view = qrv::LookAtMatrix({0, 0, 5}, {0, 0, 0}, {0, 1, 0});
  ExpectPoint(view, {0, 0, 0}, {0, 0, -5});
  view = qrv::LookAtMatrix({3, 0, 0}, {0, 0, 0}, {0, 1, 0});
  ExpectPoint(view, {0, 0, -1}, {1, 0, -3});  // looking down -x, -z is to the right
  // Target on the eye: the rotation part stays zero rather than becoming NaN.
  view = qrv::LookAtMatrix({1, 2, 3}, {1, 2, 3}, {0, 1, 0});
  for (float value : view) EXPECT_FALSE(std::isnan(value));
  EXPECT_EQ(view[0], 0.0f);
}

// 90-degree field of view, square view: side planes at 45 degrees, near 1, far 100.
TEST(Visibility, TouchingSpheresAreKeptThoseJustOutsideDropped) {
  qrv::ViewState view;
  qrv::StartView(view, 1, 100, 90, 1);
  qrv::PlaceCamera(view, {0, 0, 10}, {0, 0, 0});
  qrv::Matrix4 identity = qrv::IdentityMatrix();
  auto visible = [&](float x, float z, float radius, const qrv::Matrix4& m) {
    qrv::BoundingSphere sphere;
    sphere.centre[0] = x, sphere.centre[2] = z, sphere.radius = radius;
    return qrv::SphereVisible(view.planes, m, sphere);
  };
  EXPECT_TRUE(visible(0, 0, 1, identity));
  // Behind the near plane (at z = 9): touching it, and a little beyond.
  EXPECT_TRUE(visible(0, 10, 1.001f, identity));
  EXPECT_FALSE(visible(0, 10, 0.999f, identity));
  // Beyond the far plane (z = -90).
  EXPECT_TRUE(visible(0, -91, 1.01f, identity));
  EXPECT_FALSE(visible(0, -91, 0.98f, identity));
  // The right-hand plane x = (10 - z) at z = 0: a sphere at x = 10 + d*sqrt(2).
  float r = 2.0f;
  EXPECT_TRUE(visible(10 + r * std::sqrt(2.0f) - 0.01f, 0, r, identity));
  EXPECT_FALSE(visible(10 + r * std::sqrt(2.0f) + 0.05f, 0, r, identity));
  // The object matrix carries the centre and scales the radius by its widest axis.
  EXPECT_FALSE(visible(20, 0, 1, identity));
  EXPECT_TRUE(visible(20, 0, 1, qrv::TranslationMatrix(-20, 0, 0)));
  EXPECT_TRUE(visible(13, 0, 1, qrv::ScalingMatrix(1, 1, 3)));
  EXPECT_FALSE(visible(13, 0, 1, identity));
}

}  // namespace
