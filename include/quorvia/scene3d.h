// The 3D scene engine Zozezezi3D: object files, camera and transforms, object drawing.
// The header holds the object records and their files (".ddd", scene descriptions,
// Wavefront OBJ models), the view maths (transform stack, camera, view-frustum planes and
// the visibility test), and at its end the commands that draw: 3D mode, the camera, the
// transform of the next object, the object slots, drawing, the light.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "quorvia/rt_string.h"

namespace qrv {

// --- Growable lists ------------------------------------------------------------------
// A list that grows by a fixed step: when it must hold n elements and its capacity is not
// above n, the capacity becomes the initial capacity (n up to it) or the next step above
// n. Storage that cannot be had leaves the list as it was and answers false.
template <typename T>
class GrowableList {
 public:
  // Largest element count any list takes (keeps byte sizes far inside the address space).
  static constexpr uint32_t kMaxCount = (uint32_t{1} << 31) / sizeof(T);

  bool Reserve(uint32_t n) {
    if (capacity_ > n) return true;
    uint64_t wanted = n <= initialCapacity_
                          ? initialCapacity_
                          : uint64_t{growthStep_} * (n / growthStep_ + uint64_t{1});
    if (wanted <= capacity_) return true;  // the rule gave the size the list has
    if (wanted > kMaxCount) return false;
    std::unique_ptr<T[]> items(new (std::nothrow) T[wanted]);
    if (items == nullptr) return false;
    for (uint32_t i = 0; i < count_; ++i) items[i] = std::move(items_[i]);
    items_ = std::move(items);
    capacity_ = static_cast<uint32_t>(wanted);
    return true;
  }
  // For a count known in advance: the list then reserves n + 1 (1 below 2), not a step.
  bool ReserveExactly(uint32_t n) {
    growthStep_ = 1;
    initialCapacity_ = 1;
    return Reserve(n);
  }
  bool Append(T value) {
    if (!Reserve(count_ + 1)) return false;
    items_[count_++] = std::move(value);
    return true;
  }
  // Grows to n default elements (or drops those above n).
  bool Resize(uint32_t n) {
    if (n > count_ && !Reserve(n)) return false;
    for (uint32_t i = n; i < count_; ++i) items_[i] = T();
    count_ = n;
    return true;
  }
  void Clear() {
    items_.reset();
    count_ = capacity_ = 0;
    growthStep_ = 128;
    initialCapacity_ = 512;
  }

  uint32_t Count() const { return count_; }
  uint32_t Capacity() const { return capacity_; }
  T& operator[](uint32_t i) { return items_[i]; }
  const T& operator[](uint32_t i) const { return items_[i]; }
  T* begin() { return items_.get(); }
  T* end() { return items_.get() + count_; }
  const T* begin() const { return items_.get(); }
  const T* end() const { return items_.get() + count_; }

 private:
  std::unique_ptr<T[]> items_;
  uint32_t count_ = 0, capacity_ = 0;
  uint32_t growthStep_ = 128, initialCapacity_ = 512;
};

// --- Objects -------------------------------------------------------------------------

// One vertex as the renderer reads it: 92 bytes, fields at fixed offsets.
struct MeshVertex {
  float position[3] = {};
  float normal[3] = {};
  float texture[2] = {};     // u, v
  float further[3][3] = {};  // lighting vectors of the renderer's effects
  uint32_t colour = 0;       // packed: red bits 0-7, green 8-15, blue 16-23
  uint8_t colourIndex = 0;   // where in the object's colour list the colour came from
  uint8_t filler[3] = {};
  float rgba[4] = {};  // the colour as floats in 0..1
};
static_assert(sizeof(MeshVertex) == 92, "the vertex record is 92 bytes");

struct BoundingSphere {
  float centre[3] = {};
  float radius = 0.0f;
};

// One animation key frame: every three vertices one triangle.
struct MeshFrame {
  GrowableList<MeshVertex> vertices;
  BoundingSphere sphere;
};

// A 3D object: its frames and the colour list all frames share.
class MeshObject {
 public:
  GrowableList<MeshFrame> frames;
  GrowableList<uint32_t> colours;
  bool loaded = false;

  void Clear() {
    frames.Clear();
    colours.Clear();
    loaded = false;
  }
};

// A text scene description's sub-object with the texture positions it asks for
// (0-based in the scene's texture list, -1 none).
struct MeshSubObject {
  MeshObject object;
  int32_t firstTexture = -1;
  int32_t secondTexture = -1;
};

// A slot filled from a scene description: the texture files it names (resolved, in
// order) and its sub-objects.
struct MeshScene {
  std::vector<RtString> textureFiles;
  std::vector<MeshSubObject> objects;
};

// What an object slot holds: one object, or a scene of sub-objects.
struct ObjectSlot {
  MeshObject object;
  std::unique_ptr<MeshScene> scene;
  bool holdsObject = false;
};

// Fills the slot from a ".ddd" file, a scene description (first bytes ";DDW") or a
// Wavefront OBJ model; the name may be a "mem://" name. False leaves the slot empty.
bool LoadObject(ObjectSlot& slot, const RtString& name);
// The ".ddd" reader (OBJ models when the magic is absent). Failures go to the error log.
bool LoadDddObject(MeshObject& object, const RtString& name);
// Reads a Wavefront OBJ model into one frame of triangles.
bool LoadObjModel(MeshObject& object, const RtString& name);
// Reads a scene description; a sub-object whose file fails to load stays empty.
bool LoadMeshScene(MeshScene& scene, const RtString& name);
// Writes the object as a version 2.0 ".ddd" file. False when nothing was written (no
// frames, a "mem://" name, or a file that cannot be written).
bool SaveObject(const MeshObject& object, const RtString& name);
// The table entry a normal is stored as (0..161).
uint8_t QuantiseNormal(const float normal[3]);

// --- Frame animation ---------------------------------------------------------------

// The two frames a draw uses and the weight of the first: the drawn vertex is
// second + (first - second) x weight; a weight of 0 draws the second frame as it is.
struct FrameChoice {
  uint32_t first = 0, second = 0;
  float weight = 0.0f;
};
// With interpolate, time runs from `from` to `to` (outside 0..1 it wraps); without,
// from and to are the frames and time the weight. Frames are clamped to the object's.
FrameChoice ChooseFrames(int32_t from, int32_t to, double time, bool interpolate,
                         uint32_t frameCount);
// The first frame's records with position and normal blended; frames of different sizes
// blend the whole triangles both have. False when memory ran out.
bool BlendFrames(const MeshFrame& first, const MeshFrame& second, float weight,
                 GrowableList<MeshVertex>& out);

// --- View maths ----------------------------------------------------------------------

// 4x4 matrices in OpenGL's column-major order (element [column * 4 + row]).
using Matrix4 = std::array<float, 16>;
struct Vector3 {
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

Matrix4 IdentityMatrix();
Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b);  // a x b
Matrix4 TranslationMatrix(float x, float y, float z);
Matrix4 ScalingMatrix(float x, float y, float z);
// Right-handed rotation by degrees; an axis on one coordinate axis keeps only its sign,
// any other is normalised; an axis not longer than 0.0001 gives the identity.
Matrix4 RotationMatrix(float degrees, float x, float y, float z);
// The camera's rotation (rows s, u, f) followed by the move by -eye.
Matrix4 LookAtMatrix(Vector3 eye, Vector3 target, Vector3 up);
Vector3 TransformPoint(const Matrix4& m, Vector3 p);

// The projection of 3D mode: perspective for fov > 0, an orthographic box otherwise.
Matrix4 ProjectionMatrix(float nearPlane, float farPlane, float fovDegrees, float aspect);
// False when the numbers make no view: one not finite, near equal to far, a perspective
// view with near or far not above 0 or a field of view of 180 degrees or more, or a
// projection with an entry that is not finite (an orthographic box of no height).
bool ProjectionPossible(float nearPlane, float farPlane, float fovDegrees, float aspect);
// tan(fov + 5 degrees), capped at 89 degrees; tan(89 degrees) for orthographic views.
float CullingTangent(float fovDegrees);

// Six planes (normal x, y, z, distance), normals unit length, pointing into the view.
using FrustumPlanes = std::array<std::array<float, 4>, 6>;
FrustumPlanes ExtractFrustumPlanes(const Matrix4& projection, const Matrix4& modelview);
// False when the sphere, carried by the object matrix, lies wholly behind one plane.
bool SphereVisible(const FrustumPlanes& planes, const Matrix4& object,
                   const BoundingSphere& sphere);
// A sphere around all of the frame's vertices (zero for an empty frame).
BoundingSphere FrameBoundingSphere(const MeshFrame& frame);

// The per-object transform stack: 16 levels, each composing a base matrix, extra
// matrices, a movement, rotations and a scaling (scaled first, then rotated, then moved).
class TransformStack {
 public:
  static constexpr int32_t kLevels = 16;
  static constexpr int32_t kRotations = 16;

  TransformStack() { Reset(); }
  // Level 0 alone, with its defaults.
  void Reset();
  // Starts the level afresh from its base: rotations and extra matrices are dropped.
  void SetMovement(float x, float y, float z);
  void SetScaling(float x, float y, float z);
  // A rotation beyond the 16th on one level is ignored.
  void AddRotation(float degrees, float x, float y, float z);
  // Multiplied in after the base matrix; like rotations, at most 16 per level.
  void AddMatrix(const Matrix4& m);
  // Beyond the 16th level a push is ignored; a pop at level 0 resets level 0.
  void Push();
  void Pop();
  // Brings the level up to date (a level outside 0..15 means the current one).
  const Matrix4& Compose(int32_t level);
  const Matrix4& Current() { return Compose(current_); }
  int32_t Level() const { return current_; }

 private:
  struct Rotation {
    float degrees, x, y, z;
  };
  struct LevelState {
    Matrix4 base, composed;
    Vector3 movement;
    Vector3 scaling{1.0f, 1.0f, 1.0f};
    std::array<Rotation, kRotations> rotations;
    int32_t rotationCount = 0;
    std::vector<Matrix4> extra;
    bool upToDate = true;
  };
  void StartLevel(int32_t level);
  void Restart(LevelState& level);

  std::array<LevelState, kLevels> levels_;
  int32_t current_ = 0;
};

// What a camera placement leaves behind: the view, its planes and a fresh stack.
struct ViewState {
  Vector3 up{0.0f, 1.0f, 0.0f};
  Matrix4 projection = IdentityMatrix();
  Matrix4 modelview = IdentityMatrix();
  FrustumPlanes planes{};
  float cullingTangent = 0.0f;
  TransformStack transforms;
};
// Sets the projection (and culling tangent), resets the up vector and places the
// default camera at the origin looking down -z.
void StartView(ViewState& view, float nearPlane, float farPlane, float fovDegrees, float aspect);
void PlaceCamera(ViewState& view, Vector3 eye, Vector3 target);

// --- Drawing in 3D: the engine's commands ---------------------------------------------
// A frame draws in 3D between Enter3DMode and Clear3D (or the next 2D drawing command,
// which returns to 2D by itself). Distances are world units; angles are degrees.

// Start-up and shutdown make and free the engine; the commands do nothing without it.
void CreateScene3D();
void ReleaseScene3D();

// Clears the depth buffer and sets a perspective projection with a vertical field of view
// of fov degrees (fov <= 0: an orthographic box 100 x near x tan(|fov| / 2) high), depth
// testing, back faces culled (front faces counter-clockwise), object textures none, the
// camera at the origin looking down -z with up (0, 1, 0), the transform stack reset.
// Numbers that make no view (see ProjectionPossible) are refused with error 9: nothing
// changes.
void Enter3DMode(float nearPlane, float farPlane, float fovDegrees);
// Back to 2D drawing (alpha mode and smoothing kept) with a cleared depth buffer.
void Clear3D();
// The up direction the next PlaceCamera uses (Enter3DMode resets it to (0, 1, 0)).
void SetCameraUp(float x, float y, float z);
// The camera at the eye, looking at the target; resets the transform stack.
void PlaceCamera(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ);

// The transform of the objects drawn next, on the current level of the 16-level stack: an
// object is scaled, then rotated by each rotation in the order added, then moved. Setting
// the movement or the scaling drops the level's rotations: add rotations after them.
void SetMovement(float x, float y, float z);
void SetScaling(float x, float y, float z);
// At most 16 rotations per level; more are ignored.
void AddRotation(float degrees, float x, float y, float z);
// A new level on top of the current one's transform (beyond 16 levels ignored); a pop at
// the bottom level resets it.
void PushTransform();
void PopTransform();

// One directional light, shining from the direction (x, y, z) in world space, with an
// ambient level in 0..1; objects are then lit by their normals, their colours being the
// material. It stays on (across frames) until LightOff.
void SetLight(float towardsX, float towardsY, float towardsZ, float ambient);
void LightOff();
// Off: objects are drawn even when their bounding sphere lies outside the view (on by
// default; for measurements).
void SetVisibilityTest(bool on);

// Object slots 0..4095. Loading replaces what the slot held; false (and error 3) when the
// file is not an object. A scene description's textures are loaded into free sprites,
// which the slot frees again when it is replaced or freed.
bool LoadObject(int32_t slot, const RtString& name);
// Writes the slot's object as a version 2.0 ".ddd" file (not for scenes); false (and
// error 3) when nothing was written.
bool SaveObject(int32_t slot, const RtString& name);
void FreeObject(int32_t slot);
// Frames of the slot's object (of a scene's first sub-object); 0 for an empty slot.
int32_t ObjectFrameCount(int32_t slot);

// The sprites textured onto the objects drawn next (-1: none); the second one multiplies
// in on a second texture unit, with the same coordinates. Scene sub-objects carry their
// own. With a shader on, its samplers "TextureID1" and "TextureID2" get units 0 and 1.
void SetObjectTextures(int32_t first, int32_t second);
// Draws one frame of the slot's object under the camera and the current transform;
// frames beyond the last draw the last, negative ones the first. Nothing is drawn when
// the object's bounding sphere lies outside the view, or for an empty slot; a slot number
// outside 0..4095 records error 9 (both draw commands).
void DrawObject(int32_t slot, int32_t frame);
// With interpolate, the frame reached after the fraction time (wrapped into 0..1) of the
// way from frame `from` to frame `to`, blended between the two neighbouring frames.
// Without, frames from and to blended with weight time (from x time + to x (1 - time)).
void DrawAnimatedObject(int32_t slot, int32_t from, int32_t to, double time, bool interpolate);

// A sprite standing at (x, y, z) facing the camera, half its pixel size in world units at
// scale 1, centred on the point horizontally and standing on it.
void DrawSpriteBillboard(int32_t id, float x, float y, float z, float scale);
// Text of the selected font at (x, y, z): facing the camera with cells scale x the cell
// width, or, with scale 0, printed flat on the screen centred where the point appears.
void PrintText3D(const RtString& text, float x, float y, float z, float scale);

}  // namespace qrv
