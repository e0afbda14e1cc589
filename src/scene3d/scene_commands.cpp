// The game-facing 3D commands: each forwards to the one scene engine while there is a GL
// context to draw with, and does nothing otherwise. Start-up and shutdown make and free
// the engine.
#include <GL/gl.h>

#include <cstdio>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "scene3d/scene_engine.h"

namespace qrv {

namespace {

constexpr const char* kNoEngine = "no 3D engine (no graphics window)";

// Runs op on the engine with the arguments, when there is one.
template <typename... Params, typename... Args>
void Run(void (Zozezezi3D::*op)(Params...), Args... args) {
  if (Zozezezi3D* engine = Engine3D()) (engine->*op)(args...);
}

// Drawing in 3D goes under the camera and the current transform level.
void LoadPlacedMatrix(Zozezezi3D& engine) {
  const Matrix4 m = MultiplyMatrices(engine.View().modelview, engine.Transforms().Current());
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(m.data());
}

// A slot number outside the table records error 9; an empty slot draws nothing.
void DrawSlot(const char* command, int32_t slot, int32_t from, int32_t to, double time,
              bool interpolate) {
  Zozezezi3D* engine = Engine3D();
  if (engine == nullptr) return;
  if (engine->Slot(slot) == nullptr) {
    RecordError(9, {command, "", Zozezezi3D::kNoSuchSlot});
    return;
  }
  engine->DrawObject(slot, from, to, time, interpolate);
}

}  // namespace

void CreateScene3D() {
  Runtime& rt = TheRuntime();
  if (rt.engine3d == nullptr && rt.device != nullptr) rt.engine3d = new Zozezezi3D(*rt.device);
}

void ReleaseScene3D() {
  Runtime& rt = TheRuntime();
  delete rt.engine3d;
  rt.engine3d = nullptr;
}

void Enter3DMode(float nearPlane, float farPlane, float fovDegrees) {
  Zozezezi3D* engine = Engine3D();
  if (engine == nullptr || engine->Enter3DMode(nearPlane, farPlane, fovDegrees)) return;
  char reason[160];
  std::snprintf(reason, sizeof reason, "near %g, far %g and field of view %g make no view",
                double{nearPlane}, double{farPlane}, double{fovDegrees});
  RecordError(9, {"Enter3DMode", "", reason});
}
void Clear3D() {
  Run(&Zozezezi3D::Clear3D);
}
void SetCameraUp(float x, float y, float z) {
  Run(&Zozezezi3D::SetCameraUp, Vector3{x, y, z});
}
void PlaceCamera(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ) {
  Run(&Zozezezi3D::PlaceCamera, Vector3{eyeX, eyeY, eyeZ}, Vector3{targetX, targetY, targetZ});
}

void SetMovement(float x, float y, float z) {
  if (Zozezezi3D* engine = Engine3D()) engine->Transforms().SetMovement(x, y, z);
}
void SetScaling(float x, float y, float z) {
  if (Zozezezi3D* engine = Engine3D()) engine->Transforms().SetScaling(x, y, z);
}
void AddRotation(float degrees, float x, float y, float z) {
  if (Zozezezi3D* engine = Engine3D()) engine->Transforms().AddRotation(degrees, x, y, z);
}
void PushTransform() {
  if (Zozezezi3D* engine = Engine3D()) engine->Transforms().Push();
}
void PopTransform() {
  if (Zozezezi3D* engine = Engine3D()) engine->Transforms().Pop();
}

void SetLight(float towardsX, float towardsY, float towardsZ, float ambient) {
  Run(&Zozezezi3D::SetLight, Vector3{towardsX, towardsY, towardsZ}, ambient);
}
void LightOff() {
  Run(&Zozezezi3D::LightOff);
}
void SetVisibilityTest(bool on) {
  Run(&Zozezezi3D::SetVisibilityTest, on);
}

bool LoadObject(int32_t slot, const RtString& name) {
  Zozezezi3D* engine = Engine3D();
  ClearError();
  const char* failure = engine != nullptr ? engine->LoadObject(slot, name) : kNoEngine;
  if (failure != nullptr) RecordError(3, {"LoadObject", name.View(), failure});
  return failure == nullptr;
}
bool SaveObject(int32_t slot, const RtString& name) {
  Zozezezi3D* engine = Engine3D();
  ClearError();
  const char* failure = engine != nullptr ? engine->SaveObject(slot, name) : kNoEngine;
  if (failure != nullptr) RecordError(3, {"SaveObject", name.View(), failure});
  return failure == nullptr;
}
void FreeObject(int32_t slot) {
  Run(&Zozezezi3D::FreeObject, slot);
}
int32_t ObjectFrameCount(int32_t slot) {
  Zozezezi3D* engine = Engine3D();
  return engine != nullptr ? engine->FrameCount(slot) : 0;
}

void SetObjectTextures(int32_t first, int32_t second) {
  Run(&Zozezezi3D::SetObjectTextures, first, second);
}
void DrawObject(int32_t slot, int32_t frame) {
  DrawSlot("DrawObject", slot, frame, frame, 0.0, false);
}
void DrawAnimatedObject(int32_t slot, int32_t from, int32_t to, double time, bool interpolate) {
  DrawSlot("DrawAnimatedObject", slot, from, to, time, interpolate);
}

void DrawSpriteBillboard(int32_t id, float x, float y, float z, float scale) {
  if (Zozezezi3D* engine = Engine3D()) {
    LoadPlacedMatrix(*engine);
    engine->DrawFacingCamera([&] { TheRuntime().device->DrawSpriteBillboard(id, x, y, z, scale); });
  }
}
void PrintText3D(const RtString& text, float x, float y, float z, float scale) {
  if (Zozezezi3D* engine = Engine3D()) {
    LoadPlacedMatrix(*engine);
    OpenGLZozezezi& device = *TheRuntime().device;
    device.PrintText3D(device.selectedFont, text.View(), x, y, z, scale);
  }
}

}  // namespace qrv
