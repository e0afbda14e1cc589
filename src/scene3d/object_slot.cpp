// Loading an object slot: the first four bytes choose between a scene description
// (";DDW", a comment line of a settings file) and the object reader.
#include <string_view>

#include "quorvia/files.h"
#include "quorvia/scene3d.h"

namespace qrv {

bool LoadObject(ObjectSlot& slot, const RtString& name) {
  slot.holdsObject = false;
  slot.scene.reset();
  char magic[4] = {};
  {
    FileReader file;
    if (!file.OpenForReading(name.c_str()) || !file.Read(magic, 4)) return false;
  }
  if (std::string_view(magic, 4) == ";DDW") {
    slot.object.Clear();
    slot.scene = std::make_unique<MeshScene>();
    slot.holdsObject = LoadMeshScene(*slot.scene, name);
  } else {
    slot.holdsObject = LoadDddObject(slot.object, name);
  }
  return slot.holdsObject;
}

}  // namespace qrv
