// The game-facing 3D commands: each forwards to the one scene engine while there is a GL
// context to draw with, and does nothing otherwise. Start-up and shutdown make and free
// the engine.
#include <GL/gl.h>

#include "frame/runtime.h"
#include "graphics2d/opengl_device.h"
#include "scene3d/scene_engine.h"

namespace qrv {

namespace {

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
  Run(&Zozezezi3D::Enter3DMode, nearPlane, farPlane, fovDegrees);
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
  const bool loaded = engine != nullptr && engine->LoadObject(slot, name);
  if (!loaded) RecordError(3, {"LoadObject", name.View(), "not loaded"});
  return loaded;
}
bool SaveObject(int32_t slot, const RtString& name) {
  Zozezezi3D* engine = Engine3D();
  return engine != nullptr && engine->SaveObject(slot, name);
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
  Run(&Zozezezi3D::DrawObject, slot, frame, frame, 0.0, false);
}
void DrawAnimatedObject(int32_t slot, int32_t from, int32_t to, double time, bool interpolate) {
  Run(&Zozezezi3D::DrawObject, slot, from, to, time, interpolate);
}

void DrawSpriteBillboard(int32_t id, float x, float y, float z, float scale) {
  if (Zozezezi3D* engine = Engine3D()) {
    LoadPlacedMatrix(*engine);
    TheRuntime().device->DrawSpriteBillboard(id, x, y, z, scale);
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
