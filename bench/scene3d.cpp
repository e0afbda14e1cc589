// Drawing 200 objects of 2,000 triangles each per frame, half of them behind the camera,
// through the runtime's 3D commands, against a plain GL loop in the same run that draws the
// same objects from one vertex buffer with the same transforms (and no visibility test).
// Prints objects per second for both and their ratio (target: 0.8 or better), and the
// runtime's figures with its visibility test switched off.
#include "quorvia/scene3d.h"

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_target.h"
#include "device_setup.h"
#include "graphics2d/gl_extensions.h"
#include "quorvia/files.h"
#include "scene3d/scene_engine.h"

namespace {

constexpr int kObjects = 200;
constexpr int kSlices = 40, kStacks = 25;  // 40 x 25 quads: 2,000 triangles
constexpr int32_t kSlot = 0;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// A unit sphere as Wavefront OBJ text, faces counter-clockwise seen from outside.
std::string SphereObj() {
  std::string text;
  for (int j = 0; j <= kStacks; ++j) {
    const double phi = std::numbers::pi * j / kStacks;
    for (int i = 0; i < kSlices; ++i) {
      const double theta = 2 * std::numbers::pi * i / kSlices;
      text += "v " + std::to_string(std::sin(phi) * std::cos(theta)) + " " +
              std::to_string(std::cos(phi)) + " " +
              std::to_string(-std::sin(phi) * std::sin(theta)) + "\n";
    }
  }
  auto at = [](int j, int i) { return std::to_string(j * kSlices + i % kSlices + 1); };
  for (int j = 0; j < kStacks; ++j) {
    for (int i = 0; i < kSlices; ++i) {
      text += "f " + at(j, i) + " " + at(j + 1, i) + " " + at(j + 1, i + 1) + "\n";
      text += "f " + at(j, i) + " " + at(j + 1, i + 1) + " " + at(j, i + 1) + "\n";
    }
  }
  return text;
}

// Where object i stands: a 10 x 10 grid in front of the camera, the other half behind it.
void Place(int i, float& x, float& y, float& z) {
  const int k = i % 100;
  x = float(k % 10) * 3 - 13.5f;
  y = float(k / 10) * 3 - 13.5f;
  z = i < 100 ? -40.0f : 40.0f;
}

// The records a hand-written loop would keep: position, normal, colour.
struct PlainVertex {
  float position[3], normal[3], colour[4];
};

class PlainLoop {
 public:
  explicit PlainLoop(const qrv::MeshFrame& frame) : count_(GLsizei(frame.vertices.Count())) {
    std::vector<PlainVertex> vertices;
    for (const qrv::MeshVertex& v : frame.vertices) {
      PlainVertex p{};
      std::memcpy(p.position, v.position, sizeof p.position);
      std::memcpy(p.normal, v.normal, sizeof p.normal);
      std::memcpy(p.colour, v.rgba, sizeof p.colour);
      vertices.push_back(p);
    }
    const qrv::GlExtensions& gl = qrv::GlExt();
    gl.glGenBuffersARB(1, &buffer_);
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer_);
    gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(vertices.size() * sizeof(PlainVertex)),
                       vertices.data(), GL_STATIC_DRAW_ARB);
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  }
  ~PlainLoop() { qrv::GlExt().glDeleteBuffersARB(1, &buffer_); }

  void Draw(float angle) const {
    const qrv::GlExtensions& gl = qrv::GlExt();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.5 * 4 / 3, 0.5 * 4 / 3, -0.5, 0.5, 1, 200);
    glMatrixMode(GL_MODELVIEW);
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(PlainVertex), nullptr);
    glNormalPointer(GL_FLOAT, sizeof(PlainVertex), reinterpret_cast<const void*>(12));
    glColorPointer(4, GL_FLOAT, sizeof(PlainVertex), reinterpret_cast<const void*>(24));
    for (int i = 0; i < kObjects; ++i) {
      float x, y, z;
      Place(i, x, y, z);
      glLoadIdentity();
      glTranslatef(x, y, z);
      glRotatef(angle, 0, 1, 0);
      glDrawArrays(GL_TRIANGLES, 0, count_);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  }

 private:
  uint32_t buffer_ = 0;
  GLsizei count_;
};

void DrawThroughRuntime(float angle) {
  qrv::Enter3DMode(1.0f, 200.0f, 2 * std::atan(0.5f) * 57.29578f);
  for (int i = 0; i < kObjects; ++i) {
    float x, y, z;
    Place(i, x, y, z);
    qrv::SetMovement(x, y, z);
    qrv::AddRotation(angle, 0, 1, 0);
    qrv::DrawObject(kSlot, 0);
  }
}

void BM_DrawObjects(benchmark::State& state) {
  qrv::OpenGLZozezezi* device = qrv::bench::BenchDevice();
  if (device == nullptr || qrv::GlExt().glGenBuffersARB == nullptr) {
    state.SkipWithError("no display or no buffer objects");
    return;
  }
  qrv::CreateScene3D();
  const std::string obj = SphereObj();
  auto bytes = std::make_unique<uint8_t[]>(obj.size());
  std::memcpy(bytes.get(), obj.data(), obj.size());
  const qrv::RtString name = qrv::RegisterMemoryBlock(std::move(bytes), int32_t(obj.size()));
  qrv::ObjectSlot mesh;
  if (!qrv::LoadObject(kSlot, name) || !qrv::LoadObject(mesh, name)) {
    state.SkipWithError("the sphere did not load");
    return;
  }
  qrv::SetLight(0.3f, 1, 0.5f, 0.3f);
  const PlainLoop plain(mesh.object.frames[0]);
  double runtimeSeconds = 0, unculledSeconds = 0, plainSeconds = 0;
  int64_t skipped = 0;
  float angle = 0;
  for (auto _ : state) {
    angle += 1;
    qrv::SetVisibilityTest(true);
    Clock::time_point start = Clock::now();
    DrawThroughRuntime(angle);
    glFinish();
    runtimeSeconds += Seconds(start);
    skipped += qrv::Engine3D()->SkippedCount();
    qrv::SetVisibilityTest(false);
    start = Clock::now();
    DrawThroughRuntime(angle);
    glFinish();
    unculledSeconds += Seconds(start);
    start = Clock::now();
    plain.Draw(angle);
    glFinish();
    plainSeconds += Seconds(start);
  }
  qrv::Clear3D();
  qrv::FreeObject(kSlot);
  qrv::ReleaseMemoryBlock(name);
  const double objects = kObjects * double(state.iterations());
  state.counters["runtime_objects_per_s"] = objects / runtimeSeconds;
  state.counters["runtime_unculled_objects_per_s"] = objects / unculledSeconds;
  state.counters["plain_gl_objects_per_s"] = objects / plainSeconds;
  state.counters["ratio"] = plainSeconds / runtimeSeconds;
  state.counters["ratio_unculled"] = plainSeconds / unculledSeconds;
  state.counters["skipped_per_frame"] = double(skipped) / double(state.iterations());
  qrv::bench::CheckAtLeast("200 objects of 2,000 triangles, runtime / plain GL loop (objects/s)",
                           plainSeconds / runtimeSeconds, 0.8, "x");
}
BENCHMARK(BM_DrawObjects)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

QRV_BENCHMARK_MAIN()
