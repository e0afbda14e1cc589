// 3D mode on the graphics device: the projection, the fixed-function render state, the
// camera in GL's model-view matrix with the frustum planes taken from GL's own matrices,
// and the one directional light.
#include "scene3d/scene_engine.h"

#include <GL/gl.h>

#include <algorithm>

#include "frame/runtime.h"
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "scene3d/vertex_lighting.h"

namespace qrv {

Zozezezi3D* Engine3D() {
  Runtime& rt = TheRuntime();
  if (rt.device == nullptr || rt.device->contextAlive == 0) return nullptr;
  return rt.engine3d;
}

Zozezezi3D::Zozezezi3D(OpenGLZozezezi& device) : device_(device), slots_(kSlotCount) {}

Zozezezi3D::~Zozezezi3D() {
  for (SlotState& state : slots_) ReleaseSlot(state);
  const auto erase = GlExt().glDeleteBuffersARB;
  if (streamBuffer_ != 0 && erase != nullptr && device_.contextAlive != 0) {
    erase(1, &streamBuffer_);
  }
}

namespace {

// The render state of 3D mode, over the device's 2D defaults.
void Set3DRenderState(double alpha) {
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.05f);
  glColor4f(1, 1, 1, static_cast<GLfloat>(alpha));
  for (GLenum cap : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                     GL_LIGHTING, GL_NORMALIZE}) {
    glDisable(cap);
  }
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DITHER);
  glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 0.0f);
}

Matrix4 ReadMatrix(GLenum which) {
  Matrix4 m{};
  glGetFloatv(which, m.data());
  return m;
}

}  // namespace

bool Zozezezi3D::Enter3DMode(float nearPlane, float farPlane, float fovDegrees) {
  OpenGLZozezezi& d = device_;
  // The viewport is the device's drawing area, mirrored for a display used on its side.
  const bool turned = d.orientation != 0 && d.offscreenTarget < 0;
  const int32_t w = d.viewportW > 0 ? d.viewportW : (turned ? d.height : d.width);
  const int32_t h = d.viewportH > 0 ? d.viewportH : (turned ? d.width : d.height);
  const float aspect = static_cast<float>(w) / static_cast<float>(h);
  if (!ProjectionPossible(nearPlane, farPlane, fovDegrees, aspect)) return false;
  // Sprites still waiting are drawn under the 2D view they were given in.
  d.FlushBatch();
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  d.in3DMode = true;
  firstTexture_ = secondTexture_ = -1;
  drawn_ = skipped_ = 0;
  if (turned) {
    glViewport(d.width - d.viewportY - h, d.height - w - d.viewportX, h, w);
  } else {
    glViewport(d.viewportX, d.height - h - d.viewportY, w, h);
  }
  StartView(view_, nearPlane, farPlane, fovDegrees, aspect);
  Matrix4 projection = view_.projection;
  if (turned) projection = MultiplyMatrices(RotationMatrix(-90.0f, 0, 0, 1), projection);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.data());
  // The planes come from the matrix GL holds, turn included.
  view_.projection = ReadMatrix(GL_PROJECTION_MATRIX);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  Set3DRenderState(d.alpha);
  PlaceCamera({0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f});
  return true;
}

void Zozezezi3D::Clear3D() {
  if (device_.in3DMode) {
    device_.Leave3DMode();
  } else {
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
  }
}

void Zozezezi3D::PlaceCamera(Vector3 eye, Vector3 target) {
  qrv::PlaceCamera(view_, eye, target);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view_.modelview.data());
  view_.modelview = ReadMatrix(GL_MODELVIEW_MATRIX);
  view_.planes = ExtractFrustumPlanes(view_.projection, view_.modelview);
  if (lightOn_) ApplyLight();
}

void Zozezezi3D::SetLight(Vector3 towards, float ambient) {
  lightOn_ = true;
  lightTowards_ = towards;
  lightAmbient_ = ambient < 0.0f ? 0.0f : (ambient > 1.0f ? 1.0f : ambient);
  if (device_.in3DMode) ApplyLight();
}

void Zozezezi3D::LightOff() {
  lightOn_ = false;
  glDisable(GL_LIGHTING);
  if (GlExt().glColorMaterial != nullptr) glDisable(GL_COLOR_MATERIAL);
}

void Zozezezi3D::DrawFacingCamera(const std::function<void()>& draw) {
  if (!lightOn_ || !device_.in3DMode) {
    draw();
    return;
  }
  if (!LightsOnProcessor()) {
    // The normal whose eye-space direction is the camera's: the model-view's third row.
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glNormal3f(m[2], m[6], m[10]);
    draw();
    return;
  }
  // GL's formula for a white face whose eye-space normal is (0, 0, 1).
  const float lit = std::clamp(lightAmbient_ + std::max(0.0f, lightInEye_.z), 0.0f, 1.0f);
  const auto alpha = static_cast<GLfloat>(device_.alpha);
  glColor4f(lit, lit, lit, alpha);
  draw();
  glColor4f(1, 1, 1, alpha);
}

bool Zozezezi3D::LightsOnProcessor() const {
  return lightOn_ && GlExt().glColorMaterial == nullptr;
}

// GL carries the light's direction through the model-view matrix in force when it is set:
// the camera's, so the direction stays in world space.
void Zozezezi3D::ApplyLight() {
  if (LightsOnProcessor()) {
    lightInEye_ = LightInEyeSpace(view_.modelview, lightTowards_);
    return;
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view_.modelview.data());
  const GLfloat direction[4] = {lightTowards_.x, lightTowards_.y, lightTowards_.z, 0.0f};
  const GLfloat white[4] = {1, 1, 1, 1};
  const GLfloat ambient[4] = {lightAmbient_, lightAmbient_, lightAmbient_, 1};
  const GLfloat none[4] = {0, 0, 0, 1};
  glLightfv(GL_LIGHT0, GL_POSITION, direction);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, none);
  glLightfv(GL_LIGHT0, GL_AMBIENT, none);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  GlExt().glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  // Scaled objects would otherwise be lit by the length of their scaled normals.
  glEnable(GL_NORMALIZE);
}

}  // namespace qrv
