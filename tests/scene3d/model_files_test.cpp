// Text models (Wavefront OBJ, written here by hand as modelling tools write them), scene
// descriptions that list sub-objects and textures, and the qrv model command.
#include <cmath>

#include "ddd_writer.h"
#include "files/files_fixture.h"
#include "quorvia/files.h"
#include "quorvia/frame.h"
#include "quorvia/scene3d.h"
#include "support/host.h"

namespace {

using files_test::FilesTest;
using files_test::ReadFile;
using files_test::WriteFile;

class ModelFilesTest : public FilesTest {
 protected:
  bool LoadObj(const std::string& text, qrv::MeshObject& object) {
    WriteFile("model.obj", text);
    return qrv::LoadDddObject(object, "model.obj");
  }
};

const char* kQuadAndPentagon =
    "# exported\r\n"
    "mtllib model.mtl\n"
    "o Thing\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0 0\nv 3 0 0\nv 3 1 0\nv 2.5 2 0\nv 2 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "usemtl skin\ns off\n"
    "f 1/1/1 2/2/1 3/3/1 4/4/1\n"
    "f 5//1 6//1 7//1 8//1 9//1\n";

TEST_F(ModelFilesTest, ObjPolygonsBecomeFansOfTrianglesInOneFrame) {
  qrv::MeshObject object;
  ASSERT_TRUE(LoadObj(kQuadAndPentagon, object));
  ASSERT_EQ(object.frames.Count(), 1u);
  const auto& v = object.frames[0].vertices;
  ASSERT_EQ(v.Count(), 3u * (2 + 3));
  // The quad: (1 2 3) (1 3 4); the pentagon: (5 6 7) (5 7 8) (5 8 9).
  const float expectedX[] = {0, 1, 1, 0, 1, 0, 2, 3, 3, 2, 3, 2.5f, 2, 2.5f, 2};
  for (uint32_t i = 0; i < v.Count(); ++i) EXPECT_EQ(v[i].position[0], expectedX[i]) << i;
  // OBJ's v counts up from the bottom row.
  EXPECT_EQ(v[2].texture[0], 1.0f);
  EXPECT_EQ(v[2].texture[1], 0.0f);
  EXPECT_EQ(v[0].texture[1], 1.0f);
  EXPECT_EQ(v[7].texture[0], 0.0f);  // no coordinates given
  EXPECT_EQ(v[7].normal[2], 1.0f);
  for (float c : v[0].rgba) EXPECT_EQ(c, 1.0f);
}

TEST_F(ModelFilesTest, ObjWithoutNormalsAndWithNegativeIndices) {
  qrv::MeshObject object;
  // Clockwise seen from +z, so the face looks down -z.
  ASSERT_TRUE(LoadObj("v 0 0 0\nv 0 2 0\nv 2 0 0\nf -3 -2 -1\nv 5 5 5\nf 1 -2 4\n", object));
  const auto& v = object.frames[0].vertices;
  ASSERT_EQ(v.Count(), 6u);
  EXPECT_EQ(v[1].position[1], 2.0f);
  EXPECT_EQ(v[5].position[2], 5.0f);
  EXPECT_EQ(v[0].normal[0], 0.0f);
  EXPECT_EQ(v[0].normal[2], -1.0f);
  float length = std::hypot(v[3].normal[0], v[3].normal[1], v[3].normal[2]);
  EXPECT_NEAR(length, 1.0f, 1e-6f);
}

TEST_F(ModelFilesTest, BrokenObjFilesAreRefused) {
  const char* broken[] = {
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n",      // index beyond the list
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 -4\n",     // negative beyond the list
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n",      // index 0
      "v 0 0 0\nv 1 0 0\nf 1 2\n",                 // two corners
      "v 0 0 0\nv 1 x 0\nv 0 1 0\nf 1 2 3\n",      // not a number
      "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/5 2/5 3\n",  // coordinate beyond the list
      "v 0 0 0\nv 1 0 0\nv 0 1 0\n",               // no faces
      "",
  };
  for (const char* text : broken) {
    qrv::MeshObject object;
    EXPECT_FALSE(LoadObj(text, object)) << text;
    EXPECT_EQ(object.frames.Count(), 0u);
  }
  EXPECT_NE(ReadFile(root_ / "tmp" / "ErrorLog.txt").find("# read error\r\nmodel.obj"),
            std::string::npos);
}

// A scene lists its files relative to its own folder and counts textures from 1; the
// program's own settings file stays open and untouched.
TEST_F(ModelFilesTest, SceneDescriptionsFillSubObjects) {
  scene3d_test::DddBytes box;
  box.Header(2.0, 1, 0, 0).Put(uint32_t{3}).Vertex2(0, 0, 0, 0, 0).Vertex2(1, 0, 0, 0, 0);
  box.Vertex2(0, 1, 0, 0, 0);
  WriteFile("scenes/box.ddd", box.Text());
  WriteFile("scenes/scene.txt",
            ";DDW scene\r\n[textures]\r\ncount=2\r\n1=wood.png\r\n2=stone.png\r\n"
            "[objects]\r\ncount=3\r\n1=box.ddd\r\n1ta=2\r\n1tb=1\r\n2=missing.ddd\r\n2ta=3\r\n"
            "3=box.ddd\r\n");
  WriteFile("game.ini", "[player]\r\nname=Ann\r\n");
  qrv::IniOpen("game.ini");

  qrv::ObjectSlot slot;
  qrv::Settings().debugFlag = 1;  // error reports on standard error, as QRV_VERBOSE=1
  testing::internal::CaptureStderr();
  ASSERT_TRUE(qrv::LoadObject(slot, "scenes/scene.txt"));
  const std::string said = testing::internal::GetCapturedStderr();
  qrv::Settings().debugFlag = 0;
  // The sub-object that is missing says so.
  EXPECT_EQ(said, "LoadObject: scenes/missing.ddd: scene sub-object: no such file\n");
  EXPECT_EQ(qrv::LastError(), 3);
  ASSERT_NE(slot.scene, nullptr);
  const qrv::MeshScene& scene = *slot.scene;
  ASSERT_EQ(scene.textureFiles.size(), 2u);
  EXPECT_STREQ(scene.textureFiles[1].c_str(), "scenes/stone.png");
  ASSERT_EQ(scene.objects.size(), 3u);
  EXPECT_TRUE(scene.objects[0].object.loaded);
  EXPECT_EQ(scene.objects[0].object.frames[0].vertices.Count(), 3u);
  EXPECT_EQ(scene.objects[0].firstTexture, 1);
  EXPECT_EQ(scene.objects[0].secondTexture, 0);
  EXPECT_FALSE(scene.objects[1].object.loaded);
  EXPECT_EQ(scene.objects[1].firstTexture, -1);  // beyond the texture list
  EXPECT_TRUE(scene.objects[2].object.loaded);
  EXPECT_EQ(scene.objects[2].firstTexture, -1);  // none given
  EXPECT_STREQ(qrv::IniGet("player", "name", "?").c_str(), "Ann");
  qrv::IniOpen("");

  // Loading a plain object into the same slot replaces the scene.
  ASSERT_TRUE(qrv::LoadObject(slot, "scenes/box.ddd"));
  EXPECT_EQ(slot.scene, nullptr);
  EXPECT_TRUE(slot.holdsObject);
  EXPECT_FALSE(qrv::LoadObject(slot, "scenes/none.ddd"));
  EXPECT_FALSE(slot.holdsObject);
}

TEST_F(ModelFilesTest, ModelCommandDescribesAndConvertsModels) {
  WriteFile("model.obj", kQuadAndPentagon);
  std::string qrv = test_host::ShellProgram(QRV_BUILD_DIR "/tools/qrv") + " model ";
  std::string info = qrv + "info model.obj > info.txt";
  ASSERT_EQ(test_host::RunShell(info).status, 0);
  std::string text = test_host::ConsoleText(ReadFile("info.txt"));
  EXPECT_NE(text.find("format OBJ\n"), std::string::npos) << text;
  EXPECT_NE(text.find("frames 1\nvertices per frame 15\ncolours 1\n"), std::string::npos);
  EXPECT_NE(text.find("sphere 1.5 1 0 radius "), std::string::npos) << text;

  ASSERT_EQ(test_host::RunShell(qrv + "convert model.obj model.ddd").status, 0);
  qrv::MeshObject object;
  ASSERT_TRUE(qrv::LoadDddObject(object, "model.ddd"));
  EXPECT_EQ(object.frames[0].vertices.Count(), 15u);
  ASSERT_EQ(test_host::RunShell(qrv + "info model.ddd > info.txt").status, 0);
  EXPECT_NE(test_host::ConsoleText(ReadFile("info.txt")).find("format .ddd 2.00\n"), std::string::npos);

  EXPECT_NE(test_host::RunShell(qrv + "info missing.obj 2>/dev/null").status, 0);
  EXPECT_NE(test_host::RunShell(qrv + "convert model.obj 2>/dev/null").status, 0);
}

}  // namespace
