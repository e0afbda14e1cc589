// The ".ddd" reader and saver against files written by the tests' own writer: version
// bounds, both vertex layouts, colours, damaged files and the save/load round trip.
#include <array>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>

#include "ddd_writer.h"
#include "files/files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/scene3d.h"

namespace {

using files_test::FilesTest;
using files_test::ReadFile;
using files_test::WriteFile;
using scene3d_test::DddBytes;

// Entries of the 162-entry normal table of the file format, written out from its
// published list (index, x, y, z).
struct TableEntry {
  uint8_t index;
  float x, y, z;
};
constexpr TableEntry kFirst{0, -0.525731f, 0.000000f, 0.850651f};
constexpr TableEntry kUp5{5, 0.000000f, 0.000000f, 1.000000f};
constexpr TableEntry k7{7, -0.147621f, 0.716567f, 0.681718f};
constexpr TableEntry kLast{161, -0.688191f, -0.587785f, -0.425325f};

void ExpectNormal(const float normal[3], const TableEntry& entry) {
  EXPECT_EQ(normal[0], entry.x) << "entry " << int{entry.index};
  EXPECT_EQ(normal[1], entry.y) << "entry " << int{entry.index};
  EXPECT_EQ(normal[2], entry.z) << "entry " << int{entry.index};
}

// A "mem://" block holding a copy of the bytes.
qrv::RtString MemoryCopy(const std::string& bytes) {
  auto block = std::make_unique<uint8_t[]>(bytes.size() + 1);
  std::memcpy(block.get(), bytes.data(), bytes.size());
  return qrv::RegisterMemoryBlock(std::move(block), static_cast<int32_t>(bytes.size()));
}

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
  ExpectNormal(vertices[0].normal, kUp5);
  ExpectNormal(vertices[1].normal, kLast);
  EXPECT_EQ(vertices[1].texture[0], 0.3f);
  EXPECT_EQ(vertices[1].texture[1], 0.4f);  // version 2 keeps the sign
  // 0x030201: red 1, green 2, blue 3; 0xFFFFFFFC and above: opaque white.
  EXPECT_FLOAT_EQ(vertices[0].rgba[0], 1.0f / 255);
  EXPECT_FLOAT_EQ(vertices[0].rgba[2], 3.0f / 255);
  EXPECT_EQ(vertices[0].rgba[3], 1.0f);
  EXPECT_EQ(vertices[0].colour, 0x00030201u);
  for (float c : vertices[1].rgba) EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(vertices[1].colourIndex, 1);
  // The sphere is centred on the box around the vertices, x 0..7, y -2..8, z 0..9, and
  // reaches the farthest vertex, (7, 8, 9) at sqrt(3.5² + 5² + 4.5²) = sqrt(57.5) =
  // 7.582875, one ten-thousandth wider: 7.583634.
  const qrv::BoundingSphere& s = object.frames[0].sphere;
  EXPECT_EQ(s.centre[0], 3.5f);
  EXPECT_EQ(s.centre[1], 3.0f);
  EXPECT_EQ(s.centre[2], 4.5f);
  EXPECT_NEAR(s.radius, 7.583634f, 2e-6f);
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
  ExpectNormal(v.normal, k7);
  ExpectNormal(v.further[1], kFirst);
  ExpectNormal(v.further[2], kFirst);
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
      {"ends after the first of two frames", DddBytes()
                                                 .Header(2.0, 2, 0, 0)
                                                 .Put(uint32_t{3})
                                                 .Vertex2(1, 2, 3, 0, 0)
                                                 .Vertex2(4, 5, 6, 0, 0)
                                                 .Vertex2(7, 8, 9, 0, 0)
                                                 .Text()},
      {"version 1, ends after the first of two frames", DddBytes()
                                                            .Header(1.5, 2, 0, 0)
                                                            .Put(uint32_t{12})
                                                            .Put(std::array<float, 6>{})
                                                            .Put(std::array<uint8_t, 60>{})
                                                            .Text()},
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
    EXPECT_EQ(Log(), "# read error\r\nobject.ddd\r\n") << c.what;
    std::filesystem::remove(root_ / "tmp" / "ErrorLog.txt");
    const qrv::RtString name = MemoryCopy(c.bytes);
    EXPECT_FALSE(qrv::LoadDddObject(object, name)) << c.what << " from memory";
    EXPECT_EQ(object.frames.Count(), 0u) << c.what << " from memory";
    EXPECT_EQ(Log(), std::string("# read error\r\n") + name.c_str() + "\r\n") << c.what;
    std::filesystem::remove(root_ / "tmp" / "ErrorLog.txt");
    qrv::ReleaseMemoryBlock(name);
  }

  // Vertices beyond the coordinates get (0, 0); colour indices beyond the list and
  // normal indices beyond the table read as white and as entry 0.
  DddBytes clamped;
  clamped.Header(2.0, 1, 1, 1).Put(0x000000FFu).Put(0.5f).Put(0.5f).Put(uint32_t{2});
  clamped.Vertex2(0, 0, 0, 200, 9).Vertex2(1, 1, 1, 3, 0);
  qrv::MeshObject object;
  ASSERT_TRUE(Load(clamped.Text(), object));
  const auto& vertices = object.frames[0].vertices;
  ExpectNormal(vertices[0].normal, kFirst);
  EXPECT_EQ(vertices[0].colourIndex, 9);
  for (float c : vertices[0].rgba) EXPECT_EQ(c, 1.0f);
  EXPECT_EQ(vertices[1].texture[0], 0.0f);
  EXPECT_EQ(vertices[1].texture[1], 0.0f);
  EXPECT_EQ(vertices[1].rgba[0], 1.0f);
  EXPECT_EQ(vertices[1].rgba[1], 0.0f);
}

// Files shorter than the four bytes that choose a reader are refused by the object reader
// with its error-log lines, whether loaded into a slot or read on their own, from disk or
// from memory.
TEST_F(DddFileTest, FilesShorterThanFourBytesAreRefusedWithTheReadersLogLines) {
  for (const std::string& bytes : {std::string(), std::string("\x17\xB3\xC6", 3)}) {
    WriteFile("short.ddd", bytes);
    const qrv::RtString memory = MemoryCopy(bytes);
    for (const qrv::RtString& name : {qrv::RtString("short.ddd"), memory}) {
      const std::string lines = std::string("# read error\r\n") + name.c_str() + "\r\n";
      qrv::ObjectSlot slot;
      EXPECT_FALSE(qrv::LoadObject(slot, name)) << name.c_str();
      EXPECT_FALSE(slot.holdsObject);
      EXPECT_EQ(Log(), lines) << "slot, " << bytes.size() << " bytes";
      std::filesystem::remove(root_ / "tmp" / "ErrorLog.txt");
      qrv::MeshObject object;
      EXPECT_FALSE(qrv::LoadDddObject(object, name));
      EXPECT_EQ(Log(), lines) << "reader, " << bytes.size() << " bytes";
      std::filesystem::remove(root_ / "tmp" / "ErrorLog.txt");
    }
    qrv::ReleaseMemoryBlock(memory);
  }
  // A name that opens nothing fails without a line.
  qrv::ObjectSlot slot;
  EXPECT_FALSE(qrv::LoadObject(slot, "absent.ddd"));
  EXPECT_EQ(Log(), "");
}

// Saving stores a normal as its nearest table entry: entries themselves (of any length)
// keep their index, the zero vector takes entry 0, a tie goes to the later entry; loading
// gives the entry back. Expected entries worked out by hand from the published table.
TEST_F(DddFileTest, SavedNormalsBecomeTheirNearestTableEntry) {
  struct Case {
    float normal[3];
    TableEntry entry;
  };
  const Case cases[] = {
      {{0, 0, 1}, kUp5},
      {{-2, 0, 0}, {143, -1.000000f, 0.000000f, 0.000000f}},
      {{0, 0, -7}, {84, 0.000000f, 0.000000f, -1.000000f}},
      {{0, 3, 0}, {32, 0.000000f, 1.000000f, 0.000000f}},
      {{0, 0, 0}, kFirst},
      {{-0.688191f, -0.587785f, -0.425325f}, kLast},
      // (0.6, -0.8, 0): cos 0.9960 to entry 112, the nearest.
      {{3, -4, 0}, {112, 0.525731f, -0.850651f, 0.000000f}},
      // Nearest to entry 133 (cos 0.9934; entry 139 has 0.9796).
      {{2, -1, 3}, {133, 0.442863f, -0.238856f, 0.864188f}},
      // Halfway between x and y: entries 42 and 43 are equally near, the later wins.
      {{1, 1, 0}, {43, 0.716567f, 0.681718f, -0.147621f}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qrv::QuantiseNormal(c.normal), c.entry.index)
        << c.normal[0] << " " << c.normal[1] << " " << c.normal[2];
  }
  qrv::MeshObject object;
  object.frames.Resize(1);
  for (const Case& c : cases) {
    qrv::MeshVertex v;
    std::memcpy(v.normal, c.normal, sizeof v.normal);
    object.frames[0].vertices.Append(v);
  }
  ASSERT_TRUE(qrv::SaveObject(object, "normals.ddd"));
  qrv::MeshObject loaded;
  ASSERT_TRUE(qrv::LoadDddObject(loaded, "normals.ddd"));
  ASSERT_EQ(loaded.frames[0].vertices.Count(), std::size(cases));
  for (uint32_t i = 0; i < std::size(cases); ++i) {
    ExpectNormal(loaded.frames[0].vertices[i].normal, cases[i].entry);
  }
}

TEST_F(DddFileTest, SaveThenLoadKeepsPositionsCoordinatesAndColoursExactly) {
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
