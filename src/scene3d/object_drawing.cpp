// Drawing an object's frame: frame choice and blend, the visibility test against the view,
// the vertex records in a GL buffer (static per frame, streamed when blended) or in client
// memory, the textures of both units and one draw of independent triangles.
#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "scene3d/scene_engine.h"
#include "scene3d/vertex_lighting.h"

namespace qrv {

namespace {

constexpr GLsizei kStride = sizeof(MeshVertex);

// A sphere around both spheres: a blend lies between its two frames, so it lies inside.
BoundingSphere EnclosingSphere(const BoundingSphere& a, const BoundingSphere& b) {
  const float d[3] = {b.centre[0] - a.centre[0], b.centre[1] - a.centre[1],
                      b.centre[2] - a.centre[2]};
  const float distance = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (distance + b.radius <= a.radius) return a;
  if (distance + a.radius <= b.radius) return b;
  BoundingSphere out;
  out.radius = (distance + a.radius + b.radius) / 2;
  const float k = (out.radius - a.radius) / distance;
  for (int i = 0; i < 3; ++i) out.centre[i] = a.centre[i] + d[i] * k;
  return out;
}

bool HasBuffers() {
  const GlExtensions& gl = GlExt();
  return gl.glGenBuffersARB != nullptr && gl.glBindBufferARB != nullptr &&
         gl.glBufferDataARB != nullptr;
}

bool HasSecondUnit() {
  const GlExtensions& gl = GlExt();
  return gl.glActiveTextureARB != nullptr && gl.glClientActiveTextureARB != nullptr;
}

// Texture coordinates count v from the image's top row, over the image only: the texture
// holds the image bottom row first and may be wider and taller than it.
void SetTextureMatrix(const SpriteRecord& sprite) {
  GLfloat m[16] = {sprite.uMax, 0, 0, 0, 0, -sprite.vMax, 0, 0, 0, 0, 1, 0, 0, sprite.vMax, 0, 1};
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(m);
  glMatrixMode(GL_MODELVIEW);
}

void ResetTextureMatrix() {
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

// Where a field of the records lies: an offset into the bound buffer, or an address.
const void* FieldAt(const MeshVertex* records, size_t offset) {
  return reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(records) + offset);
}

}  // namespace

void Zozezezi3D::SetObjectTextures(int32_t first, int32_t second) {
  firstTexture_ = first;
  secondTexture_ = second;
  device_.SetShaderInt("TextureID1", 0, nullptr);
  device_.SetShaderInt("TextureID2", 1, nullptr);
}

void Zozezezi3D::DrawObject(int32_t slot, int32_t from, int32_t to, double time, bool interpolate) {
  if (slot < 0 || slot >= kSlotCount) return;
  SlotState& state = slots_[static_cast<size_t>(slot)];
  if (!state.slot.holdsObject) return;
  if (!state.slot.scene) {
    if (state.buffers.empty()) state.buffers.resize(1);
    DrawMesh(state.slot.object, state.buffers[0], firstTexture_, secondTexture_, from, to, time,
             interpolate);
    return;
  }
  std::vector<MeshSubObject>& objects = state.slot.scene->objects;
  if (state.buffers.size() < objects.size()) state.buffers.resize(objects.size());
  auto sprite = [&](int32_t position) {
    return position >= 0 && static_cast<size_t>(position) < state.textures.size()
               ? state.textures[static_cast<size_t>(position)]
               : -1;
  };
  for (size_t i = 0; i < objects.size(); ++i) {
    DrawMesh(objects[i].object, state.buffers[i], sprite(objects[i].firstTexture),
             sprite(objects[i].secondTexture), from, to, time, interpolate);
  }
}

void Zozezezi3D::DrawMesh(const MeshObject& object, FrameBuffers& buffers, int32_t first,
                          int32_t second, int32_t from, int32_t to, double time, bool interpolate) {
  if (object.frames.Count() == 0 || object.frames[0].vertices.Count() == 0) return;
  const FrameChoice choice = ChooseFrames(from, to, time, interpolate, object.frames.Count());
  const Matrix4& placed = view_.transforms.Current();
  const BoundingSphere sphere =
      EnclosingSphere(object.frames[choice.first].sphere, object.frames[choice.second].sphere);
  if (visibilityTest_ && !SphereVisible(view_.planes, placed, sphere)) {
    ++skipped_;
    return;
  }
  uint32_t buffer = 0, count = 0;
  const MeshVertex* records = Upload(object, buffers, choice, buffer, count);
  if (count == 0) return;
  BindTextures(first, second);
  const Matrix4 modelview = MultiplyMatrices(view_.modelview, placed);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(modelview.data());
  const bool twoUnits = HasSecondUnit() && IsSpriteId(first) && IsSpriteId(second);
  const float* colours = nullptr;
  if (LightsOnProcessor()) {
    if (!LightVertices(records, count, modelview, lightInEye_, lightAmbient_, litColours_)) return;
    colours = litColours_.begin();
  }
  DrawArrays(records, buffer, count, twoUnits, colours);
  ++drawn_;
}

const MeshVertex* Zozezezi3D::Upload(const MeshObject& object, FrameBuffers& buffers,
                                     FrameChoice choice, uint32_t& buffer, uint32_t& count) {
  device_.HandOverArrays();
  const GlExtensions& gl = GlExt();
  // Vertices lit on the processor are read from client memory.
  const bool buffered = HasBuffers() && !LightsOnProcessor();
  if (choice.weight != 0.0f) {
    if (!BlendFrames(object.frames[choice.first], object.frames[choice.second], choice.weight,
                     blended_)) {
      return nullptr;  // out of memory: count stays 0, nothing is drawn
    }
    count = blended_.Count();
    if (!buffered || count == 0) return blended_.begin();
    if (streamBuffer_ == 0) gl.glGenBuffersARB(1, &streamBuffer_);
    buffer = streamBuffer_;
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(count) * kStride, blended_.begin(),
                       GL_STREAM_DRAW_ARB);
    return nullptr;
  }
  const MeshFrame& frame = object.frames[choice.second];
  count = frame.vertices.Count() / 3 * 3;
  if (!buffered || count == 0) return frame.vertices.begin();
  if (buffers.size() < object.frames.Count()) buffers.resize(object.frames.Count(), 0);
  buffer = buffers[choice.second];
  if (buffer != 0) {
    gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
    return nullptr;
  }
  gl.glGenBuffersARB(1, &buffer);
  buffers[choice.second] = buffer;
  gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffer);
  gl.glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(count) * kStride, frame.vertices.begin(),
                     GL_STATIC_DRAW_ARB);
  return nullptr;
}

// The device's bind step with both ids; each unit's texture matrix follows the sprite
// the step put there (unit 0 holds the second sprite when both are given).
void Zozezezi3D::BindTextures(int32_t first, int32_t second) {
  device_.Bind(first, second);
  if (device_.boundSprite < 0) return;
  device_.ApplyFilters();
  const bool twoUnits = HasSecondUnit() && IsSpriteId(second);
  const auto& sprites = device_.sprites;
  SetTextureMatrix(sprites[static_cast<size_t>(twoUnits ? second : first)]);
  if (twoUnits) {
    GlExt().glActiveTextureARB(GL_TEXTURE1_ARB);
    SetTextureMatrix(sprites[static_cast<size_t>(first)]);
    GlExt().glActiveTextureARB(GL_TEXTURE0_ARB);
  }
}

void Zozezezi3D::DrawArrays(const MeshVertex* records, uint32_t buffer, uint32_t count,
                            bool twoUnits, const float* colours) {
  const GlExtensions& gl = GlExt();
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, FieldAt(records, offsetof(MeshVertex, position)));
  glEnableClientState(GL_NORMAL_ARRAY);
  glNormalPointer(GL_FLOAT, kStride, FieldAt(records, offsetof(MeshVertex, normal)));
  glEnableClientState(GL_COLOR_ARRAY);
  if (colours != nullptr) {
    glColorPointer(4, GL_FLOAT, 0, colours);
  } else {
    glColorPointer(4, GL_FLOAT, kStride, FieldAt(records, offsetof(MeshVertex, rgba)));
  }
  const void* texture = FieldAt(records, offsetof(MeshVertex, texture));
  if (twoUnits) {
    gl.glClientActiveTextureARB(GL_TEXTURE1_ARB);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, kStride, texture);
    gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
  }
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, kStride, texture);
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  if (twoUnits) {
    gl.glClientActiveTextureARB(GL_TEXTURE1_ARB);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.glClientActiveTextureARB(GL_TEXTURE0_ARB);
    gl.glActiveTextureARB(GL_TEXTURE1_ARB);
    ResetTextureMatrix();
    gl.glActiveTextureARB(GL_TEXTURE0_ARB);
  }
  ResetTextureMatrix();
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  // The 2D drawing hands client memory to GL: no buffer may stay bound.
  if (buffer != 0) gl.glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  // A colour array leaves the current colour undefined.
  glColor4f(1, 1, 1, static_cast<GLfloat>(device_.alpha));
}

}  // namespace qrv
