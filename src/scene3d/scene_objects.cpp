// The engine's object slots: loading replaces what a slot held (its vertex buffers and the
// sprites of a scene's textures go with it), saving writes a slot's object.
#include "graphics2d/gl_extensions.h"
#include "graphics2d/opengl_device.h"
#include "quorvia/files.h"
#include "scene3d/scene_engine.h"

namespace qrv {

namespace {

bool IsSlot(int32_t slot) {
  return slot >= 0 && slot < Zozezezi3D::kSlotCount;
}

}  // namespace

const ObjectSlot* Zozezezi3D::Slot(int32_t slot) const {
  return IsSlot(slot) ? &slots_[static_cast<size_t>(slot)].slot : nullptr;
}

void Zozezezi3D::ReleaseSlot(SlotState& state) {
  const auto erase = GlExt().glDeleteBuffersARB;
  const bool alive = device_.contextAlive != 0 && erase != nullptr;
  for (FrameBuffers& frames : state.buffers) {
    for (uint32_t& buffer : frames) {
      if (buffer != 0 && alive) erase(1, &buffer);
    }
  }
  state.buffers.clear();
  for (int32_t id : state.textures) device_.FreeSprite(id);
  state.textures.clear();
  state.slot.object.Clear();
  state.slot.scene.reset();
  state.slot.holdsObject = false;
}

// A scene's texture files each go into the first free sprite; a file that does not load
// leaves its place empty (-1), and sub-objects that name it draw untextured.
void Zozezezi3D::LoadSceneTextures(SlotState& state) {
  for (const RtString& file : state.slot.scene->textureFiles) {
    const int32_t id = device_.FirstFreeSprite();
    if (id >= 0) device_.LoadSprite(file, id);
    const bool loaded = id >= 0 && device_.sprites[static_cast<size_t>(id)].width > 0;
    state.textures.push_back(loaded ? id : -1);
  }
}

const char* Zozezezi3D::LoadObject(int32_t slot, const RtString& name) {
  if (!IsSlot(slot)) return kNoSuchSlot;
  SlotState& state = slots_[static_cast<size_t>(slot)];
  ReleaseSlot(state);
  // Object files are found like every other media file: on disk or in the main pack.
  RtString resolved;
  if (!ResolveMediaName(MainPack(), name, resolved, true)) return "no such file";
  const bool loaded = qrv::LoadObject(state.slot, resolved);
  if (IsMemoryName(resolved.c_str()) && !IsMemoryName(name.c_str())) ReleaseMemoryBlock(resolved);
  if (!loaded) return "not a .ddd object, OBJ model or scene description (see the error log)";
  const size_t objects = state.slot.scene ? state.slot.scene->objects.size() : 1;
  state.buffers.resize(objects);
  if (state.slot.scene) LoadSceneTextures(state);
  return nullptr;
}

const char* Zozezezi3D::SaveObject(int32_t slot, const RtString& name) const {
  const ObjectSlot* s = Slot(slot);
  if (s == nullptr) return kNoSuchSlot;
  if (!s->holdsObject) return "the slot holds no object";
  // A scene is a list of files already: it has no single object to write.
  if (s->scene) return "the slot holds a scene description";
  if (!qrv::SaveObject(s->object, name)) return "cannot be written";
  return nullptr;
}

void Zozezezi3D::FreeObject(int32_t slot) {
  if (IsSlot(slot)) ReleaseSlot(slots_[static_cast<size_t>(slot)]);
}

int32_t Zozezezi3D::FrameCount(int32_t slot) const {
  const ObjectSlot* s = Slot(slot);
  if (s == nullptr || !s->holdsObject) return 0;
  const MeshObject* object = &s->object;
  if (s->scene) {
    if (s->scene->objects.empty()) return 0;
    object = &s->scene->objects[0].object;
  }
  return static_cast<int32_t>(object->frames.Count());
}

}  // namespace qrv
