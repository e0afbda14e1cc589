// Loading an object slot: the first four bytes choose between a scene description
// (";DDW", a comment line of a settings file) and the object reader.
#include <string_view>

#include "quorvia/files.h"
#include "quorvia/scene3d.h"

namespace qrv {

namespace {

// A file shorter than four bytes is no scene description; the object reader then refuses
// it with its error-log lines.
bool IsSceneDescription(const RtString& name) {
  char magic[4] = {};
  FileReader file;
  return file.OpenForReading(name.c_str()) && file.Size() >= 4 && file.Read(magic, 4) &&
         std::string_view(magic, 4) == ";DDW";
}

}  // namespace

bool LoadObject(ObjectSlot& slot, const RtString& name) {
  slot.holdsObject = false;
  slot.scene.reset();
  if (IsSceneDescription(name)) {
    slot.object.Clear();
    slot.scene = std::make_unique<MeshScene>();
    slot.holdsObject = LoadMeshScene(*slot.scene, name);
  } else {
    slot.holdsObject = LoadDddObject(slot.object, name);
  }
  return slot.holdsObject;
}

}  // namespace qrv
