// Objects drawn on a real window under the virtual display and read back pixel by pixel:
// a coloured cube seen from a known camera, turned by the transform stack, lit by the one
// light; a textured quad's texels; a frame halfway between two key frames; objects out of
// view skipped; the same pictures with the driver's buffer objects hidden; billboards and
// the way back to 2D drawing.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "frame/scratch.h"
#include "graphics2d/device_fixture.h"
#include "graphics2d/gl_extensions.h"
#include "quorvia/files.h"
#include "quorvia/scene3d.h"
#include "scene3d/ddd_writer.h"
#include "scene3d/scene_engine.h"
#include "support/host.h"

namespace qrv::test {
namespace {

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr uint32_t kFaceColours[6] = {kRed, kGreen, kBlue, 0x00FFFF, 0xFF00FF, kWhite};

struct Corner {
  float x, y, z, u, v;
};
struct Face {
  Corner corners[4];  // counter-clockwise seen from the front
  float normal[3];
  uint8_t colour;
};

// An object of frames of faces in the ".ddd" layout, every face colour from kFaceColours.
std::string DddText(const std::vector<std::vector<Face>>& frames) {
  const uint32_t vertices = uint32_t(frames[0].size() * 6);
  scene3d_test::DddBytes bytes;
  bytes.Header(2.0, uint32_t(frames.size()), 6, vertices);
  for (uint32_t colour : kFaceColours) bytes.Put(colour);
  for (const Face& face : frames[0]) {
    for (int k : {0, 1, 2, 0, 2, 3}) bytes.Put(face.corners[k].u).Put(face.corners[k].v);
  }
  for (const std::vector<Face>& faces : frames) {
    bytes.Put(vertices);
    for (const Face& face : faces) {
      const uint8_t normal = QuantiseNormal(face.normal);
      for (int k : {0, 1, 2, 0, 2, 3}) {
        const Corner& c = face.corners[k];
        bytes.Vertex2(c.x, c.y, c.z, normal, face.colour);
      }
    }
  }
  return bytes.Text();
}

// An object (or any bytes) behind a "mem://" name.
class TestObject {
 public:
  explicit TestObject(const std::vector<std::vector<Face>>& frames) : TestObject(DddText(frames)) {}
  explicit TestObject(const std::string& bytes) {
    auto block = std::make_unique<uint8_t[]>(bytes.size());
    std::memcpy(block.get(), bytes.data(), bytes.size());
    name_ = RegisterMemoryBlock(std::move(block), int32_t(bytes.size()));
  }
  ~TestObject() { ReleaseMemoryBlock(name_); }
  const RtString& Name() const { return name_; }

 private:
  RtString name_;
};

// A square of side 2 x half centred on (cx, cy, cz), facing +z, texture v = 0 at the top.
Face Square(float cx, float cy, float cz, float half, uint8_t colour) {
  return {{{cx - half, cy - half, cz, 0, 1},
           {cx + half, cy - half, cz, 1, 1},
           {cx + half, cy + half, cz, 1, 0},
           {cx - half, cy + half, cz, 0, 0}},
          {0, 0, 1},
          colour};
}

// The cube from -1 to 1, each face its own colour index: +z, +x, -x, +y, -y, then -z last
// (drawn after the front face, so only depth testing or culling keeps it hidden).
std::vector<Face> Cube() {
  struct Axes {
    float n[3], t1[3], t2[3];
  };
  const Axes axes[6] = {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                        {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
                        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
  std::vector<Face> faces;
  for (int f = 0; f < 6; ++f) {
    const Axes& a = axes[f];
    Face face{{}, {a.n[0], a.n[1], a.n[2]}, uint8_t(f)};
    const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int k = 0; k < 4; ++k) {
      float p[3];
      for (int i = 0; i < 3; ++i) p[i] = a.n[i] + signs[k][0] * a.t1[i] + signs[k][1] * a.t2[i];
      face.corners[k] = {p[0], p[1], p[2], 0, 0};
    }
    faces.push_back(face);
  }
  return faces;
}

// 96 x 64 pixels, field of view 90 degrees: a point at depth d in front of the camera lands
// at x = 48 + 32 x / d, y = 32 - 32 y / d.
class Scene : public DeviceTest {
 protected:
  static void SetUpTestSuite() {
    DeviceTest::SetUpTestSuite();
    CreateScene3D();
  }
  void SetUp() override {
    DeviceTest::SetUp();
    ASSERT_NE(Engine3D(), nullptr);
    LightOff();
    SetVisibilityTest(true);
    Enter3DMode(1.0f, 100.0f, 90.0f);
    PlaceCamera(0, 0, 5, 0, 0, 0);
  }
  void TearDown() override { FreeObject(1); }

  static std::vector<uint8_t> Screen() {
    std::vector<uint8_t> rows(size_t(kScreenW) * kScreenH * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kScreenW, kScreenH, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    return rows;
  }

  // The pictures draw() gives with all the driver has, then with `hidden` (an extension or a
  // call) hidden through QRV_GL_HIDE, which takes `entry` away.
  template <class Draw, class Entry>
  static std::pair<std::vector<uint8_t>, std::vector<uint8_t>> DrawnWithAndWithout(
      const char* hidden, Draw draw, Entry entry) {
    std::vector<uint8_t> with = draw();
    test_host::SetVariable("QRV_GL_HIDE", hidden);
    FetchGlExtensions();
    EXPECT_EQ(entry(), nullptr);
    std::vector<uint8_t> without = draw();
    test_host::UnsetVariable("QRV_GL_HIDE");
    FetchGlExtensions();
    return {std::move(with), std::move(without)};
  }
};

TEST_F(Scene, CubeShowsItsFrontFaceAndTurnsWithTheTransform) {
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  DrawObject(1, 0);
  // The front face at depth 4 covers x 40..56, y 24..40.
  for (auto [x, y] : {std::pair{41, 25}, {54, 25}, {41, 38}, {54, 38}, {48, 32}}) {
    EXPECT_EQ(Pixel(x, y), kRed) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{38, 32}, {58, 32}, {48, 22}, {48, 42}}) {
    EXPECT_EQ(Pixel(x, y), 0u) << x << "," << y;
  }
  // A quarter turn about y brings the -x face (blue) to the front.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  AddRotation(90, 0, 1, 0);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(48, 32), kBlue);
  // Moved right by one unit: the face's left edge moves from x 40 to 48.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  SetMovement(1, 0, 0);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(46, 32), 0u);
  EXPECT_EQ(Pixel(50, 32), kRed);
}

TEST_F(Scene, TexturedQuadShowsTheImageTheRightWayUp) {
  MakeSprite(7, 2, 2, {kRed, kGreen, kBlue, kWhite});
  TestObject quad({{Square(0, 0, 3, 1, 5)}});  // colour index 5: white
  ASSERT_TRUE(LoadObject(1, quad.Name()));
  SetSmoothing(0);
  SetObjectTextures(7, -1);
  DrawObject(1, 0);
  // Depth 2: the quad covers x 32..64, y 16..48, the image's top row at the top.
  EXPECT_EQ(Pixel(40, 24), kRed);
  EXPECT_EQ(Pixel(56, 24), kGreen);
  EXPECT_EQ(Pixel(40, 40), kBlue);
  EXPECT_EQ(Pixel(56, 40), kWhite);
  EXPECT_EQ(Pixel(30, 32), 0u);
  Device().FreeSprite(7);
}

TEST_F(Scene, AnimationDrawsTheBlendBetweenNeighbouringFrames) {
  TestObject moving({{Square(-1, 0, 3, 0.25f, 0)}, {Square(1, 0, 3, 0.25f, 0)}});
  ASSERT_TRUE(LoadObject(1, moving.Name()));
  EXPECT_EQ(ObjectFrameCount(1), 2);
  // Square centres at depth 2: frame 0 at x 32, frame 1 at x 64, halfway at 48.
  DrawAnimatedObject(1, 0, 1, 0.5, true);
  EXPECT_EQ(Pixel(48, 32), kRed);
  EXPECT_EQ(Pixel(32, 32), 0u);
  EXPECT_EQ(Pixel(64, 32), 0u);
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  // Without the flag, time weighs the first frame: a quarter of the way from 1 to 0.
  DrawAnimatedObject(1, 0, 1, 0.25, false);
  EXPECT_EQ(Pixel(56, 32), kRed);
  EXPECT_EQ(Pixel(48, 32), 0u);
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  DrawObject(1, 7);  // beyond the last frame: the last
  EXPECT_EQ(Pixel(64, 32), kRed);
  EXPECT_EQ(Pixel(48, 32), 0u);
}

TEST_F(Scene, ObjectsOutOfViewAreNotDrawnAtAll) {
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  Zozezezi3D& engine = *Engine3D();
  SetMovement(0, 0, 8);  // behind the camera
  DrawObject(1, 0);
  SetMovement(12, 0, 0);  // beside the view, well clear of it
  DrawObject(1, 0);
  EXPECT_EQ(engine.SkippedCount(), 2);
  EXPECT_EQ(engine.DrawnCount(), 0);
  // Its corner reaching into the view: drawn.
  SetMovement(10, 0, -1);
  DrawObject(1, 0);
  EXPECT_EQ(engine.DrawnCount(), 1);
  // Without the test an object beside the view goes to GL, which shows nothing of it.
  SetVisibilityTest(false);
  SetMovement(12, 0, 0);
  DrawObject(1, 0);
  EXPECT_EQ(engine.DrawnCount(), 2);
  EXPECT_EQ(engine.SkippedCount(), 2);
}

TEST_F(Scene, SameFramesWithTheDriversBufferObjectsHidden) {
  TestObject cube({Cube(), Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  MakeSprite(7, 2, 2, {kRed, kGreen, kBlue, kWhite});
  auto draw = [] {
    ClearScreen(0);
    Enter3DMode(1.0f, 100.0f, 60.0f);
    PlaceCamera(2, 3, 5, 0, 0, 0);
    SetObjectTextures(7, -1);
    AddRotation(30, 1, 1, 0);
    DrawObject(1, 0);
    SetMovement(-2, 0, -1);
    DrawAnimatedObject(1, 0, 1, 0.3, true);
    return Screen();
  };
  ASSERT_NE(GlExt().glGenBuffersARB, nullptr);
  const auto [buffered, plain] =
      DrawnWithAndWithout("GL_ARB_multitexture", draw, [] { return GlExt().glGenBuffersARB; });
  Device().FreeSprite(7);
  EXPECT_TRUE(buffered == plain);
  EXPECT_GT(std::count(buffered.begin(), buffered.end(), 255), 100);
}

TEST_F(Scene, LightFallsOnFacesTurnedToIt) {
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  SetLight(0, 0, 1, 0.2f);  // from the camera's side: the front face in full light
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(48, 32), kRed);
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  SetLight(1, 0, 0, 0.2f);  // from the side: ambient light only
  DrawObject(1, 0);
  const uint32_t red = Pixel(48, 32) & 0xFF;
  EXPECT_NEAR(double(red), 0.2 * 255, 3.0);
}

// Where GL cannot light with the vertex colours (the browser's emulation), the engine lights the
// vertices itself: the driver's own lighting is the reference, on faces of every colour turned
// every way, under a scaled, a stretched and a mirrored transform, and on billboards, lit as
// faces turned to the camera before and after a cube (which leaves its last normal in GL).
TEST_F(Scene, ProcessorLightingGivesTheDriversPicture) {
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  MakeSprite(7, 8, 8, std::vector<uint32_t>(64, kWhite));
  auto draw = [] {
    ClearScreen(0);
    Enter3DMode(1.0f, 100.0f, 60.0f);
    PlaceCamera(2, 3, 6, 0, 0, 0);
    SetLight(0.3f, 0.8f, 0.5f, 0.25f);
    DrawSpriteBillboard(7, -1.5f, 1.5f, 2, 0.25f);
    PushTransform();
    AddRotation(30, 1, 1, 0);
    DrawObject(1, 0);
    PopTransform();
    PushTransform();
    SetMovement(-2.5f, 0, -1);
    SetScaling(0.5f, 1.5f, 0.8f);
    AddRotation(50, 0, 1, 0);
    DrawObject(1, 0);
    PopTransform();
    SetMovement(2.5f, 0, -1);
    SetScaling(-1, 1, 1);
    AddRotation(-40, 1, 0, 0);
    DrawObject(1, 0);
    DrawSpriteBillboard(7, 1.5f, 1.5f, 2, 0.25f);
    LightOff();
    return Screen();
  };
  ASSERT_NE(GlExt().glColorMaterial, nullptr);
  const auto [driver, processor] =
      DrawnWithAndWithout("glColorMaterial", draw, [] { return GlExt().glColorMaterial; });
  Device().FreeSprite(7);
  ASSERT_EQ(driver.size(), processor.size());
  size_t lit = 0, apart = 0;
  for (size_t i = 0; i < driver.size(); ++i) {
    lit += driver[i] != 0 && i % 4 != 3;
    apart += std::abs(int(driver[i]) - int(processor[i])) > 2;
  }
  EXPECT_EQ(apart, 0u);
  EXPECT_GT(lit, 1000u);  // the cubes cover a good part of the screen
}

TEST_F(Scene, BillboardStandsOnItsPointAndTwoDimensionalDrawingReturns) {
  MakeSprite(7, 8, 8, std::vector<uint32_t>(64, kGreen));
  DrawSpriteBillboard(7, 0, 0, 3, 0.25f);
  // Half-width 0.5 and height 1 world units at depth 2: x 40..56, y 16..32.
  EXPECT_EQ(Pixel(44, 24), kGreen);
  EXPECT_EQ(Pixel(52, 30), kGreen);
  EXPECT_EQ(Pixel(48, 36), 0u);
  EXPECT_EQ(Pixel(36, 24), 0u);
  // A 2D drawing command ends 3D mode: the rectangle lands in screen pixels.
  FillRect(2, 2, 3, 3, int32_t(kBlue));
  EXPECT_EQ(Pixel(3, 3), kBlue);
  EXPECT_FALSE(Device().in3DMode);
  Device().FreeSprite(7);
}

// Sprites still waiting to be drawn when the scene begins land where 2D put them; and a
// billboard's clamped edges do not stay on the texture for an object that repeats it.
TEST_F(Scene, SpritesWaitingAsTheSceneBeginsAndTexturesSharedWithBillboards) {
  // 16 x 16, as large as its texture: left half red, right half green.
  std::vector<uint32_t> halves;
  for (int i = 0; i < 256; ++i) halves.push_back(i % 16 < 8 ? kRed : kGreen);
  MakeSprite(7, 16, 16, halves);
  DrawSprite(7, 0, 0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  EXPECT_EQ(Pixel(0, 0), kRed);
  EXPECT_EQ(Pixel(12, 15), kGreen);

  Face face = Square(0, 0, 3, 1, 5);
  for (Corner& corner : face.corners) corner.u *= 2;  // the image twice across
  TestObject quad({{face}});
  ASSERT_TRUE(LoadObject(1, quad.Name()));
  SetSmoothing(0);
  DrawSpriteBillboard(7, 100, 0, 3, 1.0f);  // out of sight, same texture
  SetObjectTextures(7, -1);
  DrawObject(1, 0);
  // Depth 2: x 32..64, the image every 16 pixels: red, green, red, green.
  EXPECT_EQ(Pixel(36, 32), kRed);
  EXPECT_EQ(Pixel(44, 32), kGreen);
  EXPECT_EQ(Pixel(52, 32), kRed);
  EXPECT_EQ(Pixel(60, 32), kGreen);
  Device().FreeSprite(7);
}

// A scene description's sub-objects carry their own textures, loaded into free sprites
// that the slot gives back when it is freed; the program's object textures do not apply.
TEST_F(Scene, SceneSubObjectsDrawWithTheirOwnTextures) {
  frame_test::ScratchFolder folder;
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(folder.Path() + "/" + name, std::ios::binary) << text;
  };
  for (auto [name, colour] : {std::pair{"red.bmp", kRed}, {"green.bmp", kGreen}}) {
    RgbaImage image;
    image.Resize(4, 4);
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
      for (int c = 0; c < 3; ++c) image.pixels[i + size_t(c)] = uint8_t(colour >> (8 * c));
      image.pixels[i + 3] = 255;
    }
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(EncodeBmp(image, bmp));
    write(name, std::string(bmp.begin(), bmp.end()));
  }
  write("left.ddd", DddText({{Square(-1, 0, 3, 0.5f, 5)}}));
  write("right.ddd", DddText({{Square(1, 0, 3, 0.5f, 5)}}));
  write("scene.txt",
        ";DDW\r\n[textures]\r\ncount=2\r\n1=red.bmp\r\n2=green.bmp\r\n"
        "[objects]\r\ncount=2\r\n1=left.ddd\r\n1ta=1\r\n2=right.ddd\r\n2ta=2\r\n");
  const int32_t firstFree = Device().FirstFreeSprite();
  ASSERT_TRUE(LoadObject(1, RtString((folder.Path() + "/scene.txt").c_str())));
  EXPECT_EQ(Device().FirstFreeSprite(), firstFree + 2);
  MakeSprite(firstFree + 2, 1, 1, {kBlue});
  SetObjectTextures(firstFree + 2, -1);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(32, 32), kRed);
  EXPECT_EQ(Pixel(64, 32), kGreen);
  EXPECT_FALSE(SaveObject(1, RtString((folder.Path() + "/out.ddd").c_str())));
  FreeObject(1);
  EXPECT_EQ(Device().sprites[size_t(firstFree)].width, 0);
  EXPECT_EQ(Device().sprites[size_t(firstFree) + 1].width, 0);
  Device().FreeSprite(firstFree + 2);
}

// On a display used on its side the scene turns with the 2D drawing: the logical top-left
// corner lands on the same physical corner in both.
TEST_F(Scene, TurnedDisplayTurnsTheSceneLikeTheFlatDrawing) {
  auto centre = [] {
    double x = 0, y = 0;
    const auto lit = LitPixels();
    for (auto [px, py] : lit) x += px, y += py;
    return std::pair{x / double(lit.size()), y / double(lit.size())};
  };
  Device().orientation = 1;
  Device().SetDefault2DState(0, 0, 0, 0);
  ClearScreen(0);
  FillRect(0, 0, 8, 8, int32_t(kGreen));
  const auto flat = centre();
  TestObject corner({{Square(-1.2f, 1.8f, 3, 0.1f, 0)}});
  ASSERT_TRUE(LoadObject(1, corner.Name()));
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  DrawObject(1, 0);
  const auto scene = centre();
  Device().orientation = 0;
  Device().SetDefault2DState(0, 0, 0, 0);
  EXPECT_LT(std::abs(flat.first - scene.first), 12) << flat.first << " " << scene.first;
  EXPECT_LT(std::abs(flat.second - scene.second), 12) << flat.second << " " << scene.second;
}

// The camera's up direction turns the picture about the line of sight; Enter3DMode sets
// it back to (0, 1, 0).
TEST_F(Scene, CameraUpTurnsThePictureUntilTheNextThreeDMode) {
  TestObject marker({{Square(1, 0, 3, 0.25f, 0)}});
  ASSERT_TRUE(LoadObject(1, marker.Name()));
  // Up along +x: world +x shows at the top, so the marker at x = 1, depth 2 lands above
  // the centre, at y = 32 - 32 x 1 / 2 = 16, instead of to its right at x = 64.
  SetCameraUp(1, 0, 0);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(48, 16), kRed);
  EXPECT_EQ(Pixel(64, 32), 0u);
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(64, 32), kRed);
  EXPECT_EQ(Pixel(48, 16), 0u);
}

// Clear3D returns to 2D: the picture stays, the depth buffer is cleared, and drawing lands
// in screen pixels again.
TEST_F(Scene, ClearThreeDKeepsThePictureClearsDepthAndReturnsToTwoD) {
  auto depthAt = [](int32_t x, int32_t y) {
    GLfloat depth = -1;
    glReadPixels(x, kScreenH - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
  };
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  DrawObject(1, 0);
  ASSERT_EQ(Pixel(48, 32), kRed);
  EXPECT_LT(depthAt(48, 32), 1.0f);
  Clear3D();
  EXPECT_FALSE(Device().in3DMode);
  EXPECT_EQ(depthAt(48, 32), 1.0f);
  EXPECT_EQ(Pixel(48, 32), kRed);
  FillRect(2, 2, 3, 3, int32_t(kBlue));
  EXPECT_EQ(Pixel(3, 3), kBlue);
  EXPECT_EQ(Pixel(6, 6), 0u);
}

// Text in the scene: with scale 0 flat on the screen, centred where the point appears
// (8 x 8 cells of the built-in font, the cell row ending at the point); with a scale
// facing the camera, scale x 8 world units per cell, standing on the point; both follow
// the transform level and hide behind nearer objects.
TEST_F(Scene, TextInTheSceneLandsWhereItsPointAppears) {
  Device().BuildDefaultFont(0);
  SelectFont(0);
  struct Box {
    int32_t left, top, right, bottom;  // lit pixels lie inside, right and bottom excluded
  };
  auto litBox = [] {
    const auto lit = LitPixels();
    Box box{kScreenW, kScreenH, -1, -1};
    for (auto [x, y] : lit) {
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
    return box;
  };
  auto expectWithin = [](const Box& got, const Box& area, int32_t minWidth) {
    EXPECT_GE(got.left, area.left);
    EXPECT_GE(got.top, area.top);
    EXPECT_LE(got.right, area.right);
    EXPECT_LE(got.bottom, area.bottom);
    EXPECT_GE(got.right - got.left, minWidth);
  };
  // (0, 0, 3) appears at (48, 32): two cells from x 40 to 56, rows 24 to 32.
  PrintText3D("##", 0, 0, 3, 0);
  expectWithin(litBox(), {40, 24, 56, 32}, 10);
  // One unit to the right by the transform: (1, 0, 3) appears at (64, 32).
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  SetMovement(1, 0, 0);
  PrintText3D("##", 0, 0, 3, 0);
  expectWithin(litBox(), {56, 24, 72, 32}, 10);
  // Scale 1/8: one world unit per cell; two cells from x -1 to 1 and y 0 to 1 at depth 2,
  // on the screen x 32 to 64 and y 16 to 32.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  PrintText3D("##", 0, 0, 3, 0.125f);
  expectWithin(litBox(), {32, 16, 64, 32}, 20);
  // Behind the cube's front face (depth 4) the same text does not show.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  TestObject cube({Cube()});
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  DrawObject(1, 0);
  PrintText3D("##", 0, 0.5f, -3, 0.125f);
  for (auto [x, y] : LitPixels()) ASSERT_EQ(Pixel(x, y), kRed) << x << "," << y;
}

// Absurd numbers from a program: each has its stated effect, never a crash, and every
// failure says under error reports which command failed, on which file and why.
TEST_F(Scene, AbsurdArgumentsHaveTheirStatedEffects) {
  Zozezezi3D& engine = *Engine3D();
  TestObject cube({Cube(), Cube()});
  Settings().debugFlag = 1;  // error reports on standard error, as QRV_VERBOSE=1
  testing::internal::CaptureStderr();
  // Slots outside 0..4095 and missing files: error 3, nothing loaded.
  EXPECT_FALSE(LoadObject(-1, cube.Name()));
  EXPECT_EQ(LastError(), 3);
  EXPECT_FALSE(LoadObject(Zozezezi3D::kSlotCount, "x.ddd"));
  EXPECT_FALSE(LoadObject(2, "no-such-object.ddd"));
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(ObjectFrameCount(2), 0);
  const std::string junk(40, 'j');
  TestObject garbage(junk);
  EXPECT_FALSE(LoadObject(2, garbage.Name()));
  EXPECT_FALSE(SaveObject(3, "unused.ddd"));
  EXPECT_EQ(LastError(), 3);
  EXPECT_FALSE(std::ifstream("unused.ddd").good());
  ASSERT_TRUE(LoadObject(1, cube.Name()));
  EXPECT_EQ(LastError(), 0);
  // Sprite ids that are none: the object shows its colours untextured.
  SetObjectTextures(70000, -5);
  // Slot numbers outside the table draw nothing and record error 9.
  DrawObject(-3, 0);
  EXPECT_EQ(LastError(), 9);
  DrawAnimatedObject(1 << 30, 0, 1, 0.5, true);
  EXPECT_EQ(engine.DrawnCount(), 0);
  EXPECT_TRUE(LitPixels().empty());
  // A time that is no number counts as 0: extreme frames clamp to frame 0.
  DrawAnimatedObject(1, INT32_MIN, INT32_MAX, std::nan(""), true);
  EXPECT_EQ(Pixel(48, 32), kRed);
  // A weight beyond float range is held at ±1e30: two equal frames still blend to the cube
  // (an infinite weight would give 0 x infinity, no position at all).
  for (double weight : {1e300, -1e300}) {
    ClearScreen(0);
    Enter3DMode(1.0f, 100.0f, 90.0f);
    PlaceCamera(0, 0, 5, 0, 0, 0);
    DrawAnimatedObject(1, 0, 1, weight, false);
    EXPECT_EQ(Pixel(48, 32), kRed) << weight;
  }
  // Pushes beyond 16 levels are ignored, pops at the bottom reset it; rotations about no
  // axis rotate nothing: the stack ends as it began.
  for (int i = 0; i < 40; ++i) PushTransform(), AddRotation(1e30f, 0, 0, 0);
  EXPECT_EQ(engine.Transforms().Level(), TransformStack::kLevels - 1);
  EXPECT_EQ(engine.Transforms().Current(), IdentityMatrix());
  for (int i = 0; i < 40; ++i) PopTransform();
  EXPECT_EQ(engine.Transforms().Level(), 0);
  EXPECT_EQ(engine.Transforms().Current(), IdentityMatrix());
  // Scaled to a point: in view, drawn, and no pixel shows.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(0, 0, 5, 0, 0, 0);
  SetScaling(0, 0, 0);
  DrawObject(1, 0);
  EXPECT_EQ(engine.DrawnCount(), 1);
  EXPECT_TRUE(LitPixels().empty());
  // Numbers that make no view are refused with error 9: the earlier view stays.
  PlaceCamera(0, 0, 5, 0, 0, 0);
  const Matrix4 projection = engine.View().projection;
  for (auto [nearPlane, farPlane, fov] : {std::tuple{0.0f, 0.0f, 0.0f},
                                          {-1.0f, 10.0f, 60.0f},
                                          {1.0f, 10.0f, 180.0f},
                                          {1.0f, std::numeric_limits<float>::infinity(), 60.0f},
                                          {2.0f, 2.0f, 60.0f}}) {
    ClearError();
    Enter3DMode(nearPlane, farPlane, fov);
    EXPECT_EQ(LastError(), 9) << nearPlane << " " << farPlane << " " << fov;
  }
  EXPECT_TRUE(Device().in3DMode);
  EXPECT_EQ(engine.View().projection, projection);
  DrawObject(1, 0);
  EXPECT_EQ(Pixel(48, 32), kRed);
  // An orthographic box however odd, once it has a size, is a view.
  ClearError();
  Enter3DMode(-5, 1e38f, -1e9f);
  EXPECT_EQ(LastError(), 0);
  for (float value : engine.View().projection) EXPECT_TRUE(std::isfinite(value));
  // The camera at its target: the view has no direction, and nothing shows.
  ClearScreen(0);
  Enter3DMode(1.0f, 100.0f, 90.0f);
  PlaceCamera(1, 1, 1, 1, 1, 1);
  DrawObject(1, 0);
  EXPECT_TRUE(LitPixels().empty());
  const std::string said = testing::internal::GetCapturedStderr();
  Settings().debugFlag = 0;
  for (const std::string& line :
       {"LoadObject: " + std::string(cube.Name().c_str()) + ": no such object slot\n",
        std::string("LoadObject: x.ddd: no such object slot\n"),
        std::string("LoadObject: no-such-object.ddd: no such file\n"),
        "LoadObject: " + std::string(garbage.Name().c_str()) +
            ": not a .ddd object, OBJ model or scene description (see the error log)\n",
        std::string("SaveObject: unused.ddd: the slot holds no object\n"),
        std::string("DrawObject: no such object slot\n"),
        std::string("DrawAnimatedObject: no such object slot\n"),
        std::string("Enter3DMode: near 0, far 0 and field of view 0 make no view\n"),
        std::string("Enter3DMode: near 1, far inf and field of view 60 make no view\n")}) {
    EXPECT_NE(said.find(line), std::string::npos) << line << "in:\n" << said;
  }
}

}  // namespace
}  // namespace qrv::test
