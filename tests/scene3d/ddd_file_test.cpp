// The ".ddd" reader and saver against files written by the tests' own writer: version
// bounds, both vertex layouts, colours, damaged files and the save/load round trip.
#include <cmath>
#include <limits>

#include "ddd_writer.h"
#include "files/files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/scene3d.h"
#include "scene3d/normal_table.h"

namespace {

using files_test::FilesTest;
using files_test::ReadFile;
using files_test::WriteFile;
using scene3d_test::DddBytes;

// One version-2 triangle with two colours and three coordinate pairs.
DddBytes Triangle(double version) {
  DddBytes file;
  file.Header(version, 1, 2, 3).Put(0x00030201u).Put(0xFFFFFFFCu);
  for (float f : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}) file.Put(f);
  file.Put(uint32_t{3});
  return file;
}

class DddFileTest : public FilesTest {
 protected:
  bool Load(const std::string& bytes, qrv::MeshObject& object) {
    WriteFile("object.ddd", bytes);
    return qrv::LoadDddObject(object, "object.ddd");
  }
  std::string Log() { return ReadFile(root_ / "tmp" / "ErrorLog.txt"); }
};

TEST_F(DddFileTest, VersionsFrom102To20AreReadOthersRefusedWithTheirMessage) {
  for (double version : {1.02, 2.0}) {
    DddBytes file;
    file.Header(version, 1, 0, 0).Put(uint32_t{0});
    if (version < 2.0) file.Put(std::array<float, 6>{});
    qrv::MeshObject object;
    EXPECT_TRUE(Load(file.Text(), object)) << version;
    EXPECT_TRUE(object.loaded);
  }
  EXPECT_EQ(Log(), "");
  for (double version : {1.01, 2.01, std::numeric_limits<double>::quiet_NaN()}) {
    DddBytes file;
    file.Header(version, 1, 0, 0).Put(uint32_t{0}).Put(std::array<float, 6>{});
    qrv::MeshObject object;
    EXPECT_FALSE(Load(file.Text(), object)) << version;
    EXPECT_FALSE(object.loaded);
    EXPECT_EQ(object.frames.Count(), 0u);
    EXPECT_EQ(Log(), "Wrong .ddd version.\r\n# read error\r\nobject.ddd\r\n");
    std::filesystem::remove(root_ / "tmp" / "ErrorLog.txt");
  }
}

TEST_F(DddFileTest, VersionTwoKeepsPositionsCoordinatesAndColours) {
  DddBytes file = Triangle(2.0);
  file.Vertex2(1.5f, -2.0f, 3.25f, 5, 0).Vertex2(0, 0, 0, 161, 1).Vertex2(7, 8, 9, 0, 0);
  qrv::MeshObject object;
  ASSERT_TRUE(Load(file.Text(), object));
  ASSERT_EQ(object.frames.Count(), 1u);
  const auto& vertices = object.frames[0].vertices;
  ASSERT_EQ(vertices.Count(), 3u);
  EXPECT_EQ(vertices[0].position[0], 1.5f);
  EXPECT_EQ(vertices[0].position[2], 3.25f);
  EXPECT_EQ(vertices[0].normal[0], qrv::kNormalTable[5][0]);
  EXPECT_EQ(vertices[1].normal[2], qrv::kNormalTable[161][2]);
  EXPECT_EQ(vertices[1].texture[0], 0.3f);
  EXPECT_EQ(vertices[1].texture[1], 0.4f);  // version 2 keeps the sign
  // 0x030201: red 1, green 2, blue 3; 0xFFFFFFFC and above: opaque white.
  EXPECT_FLOAT_EQ(vertices[0].rgba[0], 1.0f / 255);
  EXPECT_FLOAT_EQ(vertices[0].rgba[2], 3.0f / 255);
  EXPECT_EQ(vertices[0].rgba[3], 1.0f);
  EXPECT_EQ(vertices[0].colour, 0x00030201u);
  for (float c : vertices[1].rgba) EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(vertices[1].colourIndex, 1);
  // The sphere encloses every vertex.
  const qrv::BoundingSphere& s = object.frames[0].sphere;
  for (const qrv::MeshVertex& v : vertices) {
    float d = std::hypot(v.position[0] - s.centre[0], v.position[1] - s.centre[1],
                         v.position[2] - s.centre[2]);
    EXPECT_LE(d, s.radius);
  }
}

TEST_F(DddFileTest, VersionOneExpandsBytesAndFlipsV) {
  DddBytes file;
  file.Header(1.5, 2, 1, 2).Put(0x00FF0000u).Put(0.25f).Put(0.75f).Put(0.5f).Put(-0.125f);
  for (int frame = 0; frame < 2; ++frame) {
    file.Put(uint32_t{2});
    for (float f : {10.0f, 0.0f, 100.0f, 0.5f, 2.0f, 1.0f}) file.Put(f);  // offset, scale
    file.Vertex1(12, 3, 100, 7, 0).Vertex1(static_cast<uint8_t>(10 + frame), 0, 255, 0, 0);
  }
  qrv::MeshObject object;
  ASSERT_TRUE(Load(file.Text(), object));
  ASSERT_EQ(object.frames.Count(), 2u);
  const qrv::MeshVertex& v = object.frames[0].vertices[0];
  EXPECT_EQ(v.position[0], 1.0f);  // (12 - 10) * 0.5
  EXPECT_EQ(v.position[1], 6.0f);  // (3 - 0) * 2
  EXPECT_EQ(v.position[2], 0.0f);  // (100 - 100) * 1
  EXPECT_EQ(v.texture[0], 0.25f);
  EXPECT_EQ(v.texture[1], -0.75f);
  EXPECT_EQ(object.frames[0].vertices[1].texture[1], 0.125f);
  EXPECT_EQ(v.normal[1], qrv::kNormalTable[7][1]);
  EXPECT_EQ(v.further[1][0], qrv::kNormalTable[0][0]);
  EXPECT_EQ(v.further[2][2], qrv::kNormalTable[0][2]);
  EXPECT_EQ(v.rgba[2], 1.0f);
  EXPECT_EQ(v.rgba[0], 0.0f);
  EXPECT_EQ(object.frames[1].vertices[1].position[0], 0.5f);
}

// Damaged files are refused (or clamped where the layout still makes sense); none is
// read beyond its end, whether it comes from disk or from a memory block.
TEST_F(DddFileTest, DamagedFilesAreRefusedOrClamped) {
  const std::string whole =
      (Triangle(2.0).Vertex2(1, 2, 3, 0, 0).Vertex2(4, 5, 6, 0, 1)).Vertex2(7, 8, 9, 0, 0).Text();
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> refused = {
      {"truncated vertices", whole.substr(0, whole.size() - 1)},
      {"truncated header", whole.substr(0, 14)},
      {"no frames", DddBytes().Header(2.0, 0, 0, 0).Text()},
      {"colour count beyond the file", DddBytes().Header(2.0, 1, 0x40000000, 0).Text()},
      {"coordinate count beyond the file", DddBytes().Header(2.0, 1, 0, 0xFFFFFFFF).Text()},
      {"frame count beyond the file", DddBytes().Header(2.0, 0x7FFFFFFF, 0, 0).Text()},
      {"vertex count beyond the file",
       DddBytes().Header(2.0, 1, 0, 0).Put(uint32_t{0xFFFFFFFF}).Text()},
      {"version-1 vertex count beyond the file",
       DddBytes().Header(1.5, 1, 0, 0).Put(uint32_t{100}).Put(std::array<float, 6>{}).Text()},
  };
  for (const Case& c : refused) {
    qrv::MeshObject object;
    EXPECT_FALSE(Load(c.bytes, object)) << c.what;
    EXPECT_EQ(object.frames.Count(), 0u) << c.what;
    auto block = std::make_unique<uint8_t[]>(c.bytes.size() + 1);
    std::memcpy(block.get(), c.bytes.data(), c.bytes.size());
    qrv::RtString name =
        qrv::RegisterMemoryBlock(std::move(block), static_cast<int32_t>(c.bytes.size()));
    EXPECT_FALSE(qrv::LoadDddObject(object, name)) << c.what << " from memory";
    qrv::ReleaseMemoryBlock(name);
  }
  EXPECT_NE(Log().find("# read error\r\nobject.ddd\r\n"), std::string::npos);

  // Vertices beyond the coordinates get (0, 0); colour indices beyond the list and
  // normal indices beyond the table read as white and as entry 0.
  DddBytes clamped;
  clamped.Header(2.0, 1, 1, 1).Put(0x000000FFu).Put(0.5f).Put(0.5f).Put(uint32_t{2});
  clamped.Vertex2(0, 0, 0, 200, 9).Vertex2(1, 1, 1, 3, 0);
  qrv::MeshObject object;
  ASSERT_TRUE(Load(clamped.Text(), object));
  const auto& vertices = object.frames[0].vertices;
  EXPECT_EQ(vertices[0].normal[0], qrv::kNormalTable[0][0]);
  EXPECT_EQ(vertices[0].colourIndex, 9);
  for (float c : vertices[0].rgba) EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(vertices[1].texture[0], 0.0f);
  EXPECT_EQ(vertices[1].texture[1], 0.0f);
  EXPECT_EQ(vertices[1].rgba[0], 1.0f);
  EXPECT_EQ(vertices[1].rgba[1], 0.0f);
}

// The nearest entry is the one with the largest dot product; ties and zero normals go
// by the table's own rule.
TEST(NormalQuantisation, PicksTheNearestEntry) {
  for (int i = 0; i < qrv::kNormalCount; ++i) {
    EXPECT_EQ(qrv::QuantiseNormal(qrv::kNormalTable[i]), i);
  }
  const float zero[3] = {0, 0, 0};
  EXPECT_EQ(qrv::QuantiseNormal(zero), 0);
  for (int k = 0; k < 200; ++k) {
    float n[3] = {std::sin(k * 0.37f) * 3, std::cos(k * 0.91f) * 3, std::sin(k * 1.7f + 1) * 3};
    int best = 0;
    float bestDot = -10;
    float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int i = 0; i < qrv::kNormalCount; ++i) {
      const float* t = qrv::kNormalTable[i];
      float dot = (n[0] * t[0] + n[1] * t[1] + n[2] * t[2]) / length;
      if (dot > bestDot + 1e-6f) bestDot = dot, best = i;
    }
    const float* chosen = qrv::kNormalTable[qrv::QuantiseNormal(n)];
    float chosenDot = (n[0] * chosen[0] + n[1] * chosen[1] + n[2] * chosen[2]) / length;
    EXPECT_NEAR(chosenDot, bestDot, 1e-5f) << "normal " << k << " best entry " << best;
  }
}

TEST_F(DddFileTest, SaveThenLoadKeepsAllButTheNormalsExactly) {
  qrv::MeshObject object;
  object.colours.Append(0x00112233u);
  object.colours.Append(0xFFFFFFFFu);
  object.frames.Resize(2);
  for (uint32_t f = 0; f < 2; ++f) {
    for (int i = 0; i < 6; ++i) {
      qrv::MeshVertex v;
      for (int a = 0; a < 3; ++a) v.position[a] = 0.1f * i + a - 3.7f * f;
      v.normal[0] = 0.3f * i - 1, v.normal[1] = 0.7f, v.normal[2] = -0.2f * f;
      v.texture[0] = 0.01f * i + f, v.texture[1] = -0.5f * i;
      v.colourIndex = static_cast<uint8_t>(i % 2);
      object.frames[f].vertices.Append(v);
    }
  }
  ASSERT_TRUE(qrv::SaveObject(object, "saved.ddd"));
  qrv::MeshObject loaded;
  ASSERT_TRUE(qrv::LoadDddObject(loaded, "saved.ddd"));
  ASSERT_EQ(loaded.frames.Count(), 2u);
  EXPECT_EQ(loaded.colours.Count(), 2u);
  EXPECT_EQ(loaded.colours[0], 0x00112233u);
  for (uint32_t f = 0; f < 2; ++f) {
    ASSERT_EQ(loaded.frames[f].vertices.Count(), 6u);
    for (uint32_t i = 0; i < 6; ++i) {
      const qrv::MeshVertex& a = object.frames[f].vertices[i];
      const qrv::MeshVertex& b = loaded.frames[f].vertices[i];
      for (int k = 0; k < 3; ++k) EXPECT_EQ(a.position[k], b.position[k]);
      const float* expected = qrv::kNormalTable[qrv::QuantiseNormal(a.normal)];
      for (int k = 0; k < 3; ++k) EXPECT_EQ(b.normal[k], expected[k]);
      // Every frame takes the coordinates of the first.
      const qrv::MeshVertex& first = object.frames[0].vertices[i];
      EXPECT_EQ(b.texture[0], first.texture[0]);
      EXPECT_EQ(b.texture[1], first.texture[1]);
      EXPECT_EQ(b.colourIndex, a.colourIndex);
    }
  }
}

TEST_F(DddFileTest, SavingWritesNothingWithoutFramesOrToMemory) {
  qrv::MeshObject empty;
  EXPECT_FALSE(qrv::SaveObject(empty, "empty.ddd"));
  EXPECT_FALSE(std::filesystem::exists("empty.ddd"));
  qrv::MeshObject object;
  ASSERT_TRUE(Load(
      Triangle(2.0).Vertex2(0, 0, 0, 0, 0).Vertex2(1, 0, 0, 0, 0).Vertex2(0, 1, 0, 0, 0).Text(),
      object));
  auto block = std::make_unique<uint8_t[]>(4);
  qrv::RtString name = qrv::RegisterMemoryBlock(std::move(block), 4);
  EXPECT_FALSE(qrv::SaveObject(object, name));
  qrv::ReleaseMemoryBlock(name);
}

}  // namespace

namespace {

// Lists grow to 512, then by steps of 128; a count known in advance reserves n + 1.
TEST(GrowableList, GrowsByItsStepsAndReservesKnownCounts) {
  qrv::GrowableList<uint32_t> list;
  for (uint32_t i = 0; i < 513; ++i) {
    ASSERT_TRUE(list.Append(i));
    EXPECT_EQ(list.Capacity(), i < 512 ? 512u : 640u) << i;
  }
  EXPECT_EQ(list[512], 512u);
  qrv::GrowableList<uint32_t> known;
  ASSERT_TRUE(known.ReserveExactly(100));
  EXPECT_EQ(known.Capacity(), 101u);
  qrv::GrowableList<qrv::MeshVertex> huge;
  EXPECT_FALSE(huge.Reserve(0xFFFFFFF0u));
  EXPECT_EQ(huge.Capacity(), 0u);
}

}  // namespace
