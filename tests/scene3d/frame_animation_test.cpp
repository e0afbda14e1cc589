// Frame choice and blending at the edges: wrapped times, both directions, frames
// outside the object, and a blend halfway between two frames.
#include <gtest/gtest.h>

#include <cmath>

#include "quorvia/scene3d.h"

namespace {

struct Expected {
  int32_t from, to;
  double time;
  bool interpolate;
  uint32_t first, second;
  float weight;
};

TEST(FrameChoice, FollowsTimeFromOneFrameToTheOther) {
  const Expected cases[] = {
      {0, 4, 0.5, true, 2, 3, 1.0f},    // frame 2 exactly
      {0, 4, 0.625, true, 2, 3, 0.5f},  // halfway between 2 and 3
      {0, 4, 1.25, true, 1, 2, 1.0f},   // 1.25 wraps to 0.25
      {0, 4, -0.75, true, 3, 4, 1.0f},  // -0.75 wraps to 0.75
      {4, 0, 0.5, true, 3, 2, 0.0f},    // backwards: frame 2 drawn as the second
      {4, 0, 0.625, true, 2, 1, 0.5f},
      {3, 3, 0.7, true, 3, 3, 0.0f},
      {3, 3, 0.0, false, 3, 3, 0.0f},    // one frame drawn without blending
      {9, 1, 0.25, false, 4, 1, 0.25f},  // beyond the last frame: the last
      {-2, 1, 0.0, false, 0, 1, 0.0f},   // negative: frame 0
      {INT32_MIN, INT32_MAX, 0.999, true, 4, 4, 0.0f},
      {0, 1, 1e300, false, 0, 1, 1e30f},  // a weight beyond float range: ±1e30
      {0, 1, -1e300, false, 0, 1, -1e30f},
  };
  for (const Expected& c : cases) {
    qrv::FrameChoice choice = qrv::ChooseFrames(c.from, c.to, c.time, c.interpolate, 5);
    EXPECT_EQ(choice.first, c.first) << c.from << " " << c.to << " " << c.time;
    EXPECT_EQ(choice.second, c.second) << c.from << " " << c.to << " " << c.time;
    if (c.from != INT32_MIN) {
      EXPECT_FLOAT_EQ(choice.weight, c.weight) << c.time;
    }
  }
  qrv::FrameChoice nan = qrv::ChooseFrames(0, 4, std::nan(""), true, 5);
  EXPECT_EQ(nan.first, 0u);
  EXPECT_EQ(nan.second, 1u);
}

qrv::MeshFrame FrameAt(float x, uint32_t vertices) {
  qrv::MeshFrame frame;
  for (uint32_t i = 0; i < vertices; ++i) {
    qrv::MeshVertex v;
    v.position[0] = x + static_cast<float>(i);
    v.normal[1] = x;
    v.texture[0] = x * 10;
    frame.vertices.Append(v);
  }
  return frame;
}

TEST(FrameBlend, MixesPositionsAndNormalsKeepsTheRestOfTheFirst) {
  qrv::MeshFrame a = FrameAt(2, 3), b = FrameAt(4, 6);
  qrv::GrowableList<qrv::MeshVertex> out;
  ASSERT_TRUE(qrv::BlendFrames(a, b, 0.5f, out));
  ASSERT_EQ(out.Count(), 3u);  // the triangles both frames have
  EXPECT_EQ(out[1].position[0], 4.0f);
  EXPECT_EQ(out[1].normal[1], 3.0f);
  EXPECT_EQ(out[1].texture[0], 20.0f);
  ASSERT_TRUE(qrv::BlendFrames(a, b, 1.0f, out));
  EXPECT_EQ(out[2].position[0], 4.0f);
  // The longer frame first: still only the triangle both have.
  ASSERT_TRUE(qrv::BlendFrames(b, a, 0.5f, out));
  ASSERT_EQ(out.Count(), 3u);
  EXPECT_EQ(out[1].position[0], 4.0f);
  EXPECT_EQ(out[1].texture[0], 40.0f);
}

}  // namespace
