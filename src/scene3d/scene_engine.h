// The scene engine Zozezezi3D: 3D mode on the graphics device, the camera and the transform
// stack applied to GL, the object slots and the drawing of their frames (vertex buffers when
// the driver has them, client memory otherwise), one directional light.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "quorvia/scene3d.h"

namespace qrv {

class OpenGLZozezezi;

class Zozezezi3D {
 public:
  explicit Zozezezi3D(OpenGLZozezezi& device);
  Zozezezi3D(const Zozezezi3D&) = delete;
  Zozezezi3D& operator=(const Zozezezi3D&) = delete;
  // Frees the vertex buffers and the scene textures while the GL context still lives.
  virtual ~Zozezezi3D();

  // --- 3D mode and camera (scene_engine.cpp) ----------------------------------------

  // Clears the depth buffer, sets the projection and the 3D render state, resets the
  // transform stack and places the default camera at the origin looking down -z. False,
  // with nothing changed, when the numbers make no view.
  bool Enter3DMode(float nearPlane, float farPlane, float fovDegrees);
  // Back to the device's 2D state, with a cleared depth buffer.
  void Clear3D();
  void SetCameraUp(Vector3 up) { view_.up = up; }
  // The look-at camera; saves its matrix and recomputes the frustum planes from GL's.
  void PlaceCamera(Vector3 eye, Vector3 target);
  TransformStack& Transforms() { return view_.transforms; }
  const ViewState& View() const { return view_; }
  // One directional light shining from `towards` (in world space), with an ambient level
  // in 0..1; a light stays on across frames until LightOff.
  void SetLight(Vector3 towards, float ambient);
  void LightOff();
  // Runs draw (a billboard: a face turned to the camera) with the light falling on it as on
  // such a face, whatever normal GL was left with.
  void DrawFacingCamera(const std::function<void()>& draw);

  // --- Objects (scene_objects.cpp) -----------------------------------------------------

  static constexpr int32_t kSlotCount = 4096;  // object slots 0..4095

  // Null when done, else why not (the slot is then empty after a load).
  const char* LoadObject(int32_t slot, const RtString& name);
  const char* SaveObject(int32_t slot, const RtString& name) const;
  static constexpr const char* kNoSuchSlot = "no such object slot";
  void FreeObject(int32_t slot);
  // Frames of the slot's object (of its first sub-object for a scene); 0 when empty.
  int32_t FrameCount(int32_t slot) const;
  // The slot's record, null for a number outside the table.
  const ObjectSlot* Slot(int32_t slot) const;

  // --- Drawing (object_drawing.cpp) ------------------------------------------------------

  void SetObjectTextures(int32_t first, int32_t second);
  void DrawObject(int32_t slot, int32_t from, int32_t to, double time, bool interpolate);
  // Off: every object is drawn, in view or not (for measurements).
  void SetVisibilityTest(bool on) { visibilityTest_ = on; }
  // Objects drawn and objects skipped as out of view since Enter3DMode.
  int64_t DrawnCount() const { return drawn_; }
  int64_t SkippedCount() const { return skipped_; }

 private:
  // The GL vertex buffers of one object: one per frame, made on first draw.
  using FrameBuffers = std::vector<uint32_t>;
  struct SlotState {
    ObjectSlot slot;
    std::vector<FrameBuffers> buffers;  // one list per sub-object (one for an object)
    std::vector<int32_t> textures;      // sprites of a scene's texture list
  };

  void ApplyLight();
  // Where GL cannot light with the vertices' colours (OpenGL ES: the browser's emulation),
  // the engine lights them itself (vertex_lighting.h) and draws them unlit.
  bool LightsOnProcessor() const;
  void ReleaseSlot(SlotState& state);
  void LoadSceneTextures(SlotState& state);
  void DrawMesh(const MeshObject& object, FrameBuffers& buffers, int32_t first, int32_t second,
                int32_t from, int32_t to, double time, bool interpolate);
  // The records to draw: their address, or, with a buffer bound (buffer not 0), null, the
  // records then starting at the buffer's beginning. A count of 0 draws nothing.
  const MeshVertex* Upload(const MeshObject& object, FrameBuffers& buffers, FrameChoice choice,
                           uint32_t& buffer, uint32_t& count);
  void BindTextures(int32_t first, int32_t second);
  // colours: four floats a vertex in client memory to draw with instead of the records' own.
  void DrawArrays(const MeshVertex* records, uint32_t buffer, uint32_t count, bool twoUnits,
                  const float* colours);

  OpenGLZozezezi& device_;
  ViewState view_;
  std::vector<SlotState> slots_;
  int32_t firstTexture_ = -1, secondTexture_ = -1;
  bool lightOn_ = false;
  Vector3 lightTowards_;
  float lightAmbient_ = 0.2f;
  Vector3 lightInEye_;              // towards the light, in the camera's eye space
  GrowableList<float> litColours_;  // the processor's lit colours, reused by every draw
  bool visibilityTest_ = true;
  int64_t drawn_ = 0, skipped_ = 0;
  GrowableList<MeshVertex> blended_;  // the blend of two frames, reused by every draw
  uint32_t streamBuffer_ = 0;         // the buffer blended frames stream through
};

// The engine of the process (null before start-up and after shutdown, or without a
// GL context to draw with).
Zozezezi3D* Engine3D();

}  // namespace qrv
