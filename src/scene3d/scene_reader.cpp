// Scene descriptions: settings files that list texture files and ".ddd" sub-objects,
// each sub-object with the positions of its two textures. Names are relative to the
// scene's folder and found through the main media pack.
#include <algorithm>
#include <charconv>
#include <string>

#include "quorvia/files.h"
#include "quorvia/frame.h"
#include "quorvia/scene3d.h"

namespace qrv {

namespace {

// More entries than this in one list are not read.
constexpr int32_t kMaxSceneEntries = 4096;

int32_t IntegerValue(const RtString& text) {
  std::string_view view(text.c_str());
  while (!view.empty() && (view.front() == ' ' || view.front() == '\t')) view.remove_prefix(1);
  if (!view.empty() && view.front() == '+') view.remove_prefix(1);
  int64_t value = 0;
  std::from_chars(view.data(), view.data() + view.size(), value);
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

class SceneFile {
 public:
  explicit SceneFile(const RtString& name) : store_(ReadSettingsFile(name)) {
    std::string path = name.c_str();
    if (!IsMemoryName(name.c_str())) folder_ = path.substr(0, path.find_last_of("/\\") + 1);
  }
  RtString Text(const char* section, const std::string& key) const {
    return SettingsValue(*store_, section, key.c_str(), "0");
  }
  int32_t Count(const char* section) const {
    return std::clamp(IntegerValue(Text(section, "count")), 0, kMaxSceneEntries);
  }
  RtString Path(const char* section, int32_t n) const {
    return RtString((folder_ + Text(section, std::to_string(n)).c_str()).c_str());
  }

 private:
  std::shared_ptr<const SettingsStore> store_;
  std::string folder_;
};

// A texture position counted from 1 as the scene lists them; 0-based, -1 for none.
int32_t TexturePosition(const SceneFile& scene, const std::string& key, int32_t textures) {
  int32_t n = IntegerValue(scene.Text("objects", key));
  return n >= 1 && n <= textures ? n - 1 : -1;
}

// A sub-object that does not load stays empty and is reported (error 3), as a texture is.
void LoadSubObject(MeshObject& object, const RtString& path) {
  RtString resolved;
  if (!ResolveMediaName(MainPack(), path, resolved, true)) {
    RecordError(3, {"LoadObject", path.View(), "scene sub-object: no such file"});
    return;
  }
  if (!LoadDddObject(object, resolved)) {
    RecordError(3, {"LoadObject", path.View(), "scene sub-object not loaded (see the error log)"});
  }
  // A block unpacked only for this load goes again.
  if (IsMemoryName(resolved.c_str()) && !IsMemoryName(path.c_str())) ReleaseMemoryBlock(resolved);
}

}  // namespace

bool LoadMeshScene(MeshScene& scene, const RtString& name) {
  scene = MeshScene();
  SceneFile file(name);
  int32_t textures = file.Count("textures");
  for (int32_t n = 1; n <= textures; ++n) scene.textureFiles.push_back(file.Path("textures", n));
  int32_t objects = file.Count("objects");
  scene.objects.resize(static_cast<size_t>(objects));
  for (int32_t n = 1; n <= objects; ++n) {
    MeshSubObject& sub = scene.objects[static_cast<size_t>(n - 1)];
    LoadSubObject(sub.object, file.Path("objects", n));
    sub.firstTexture = TexturePosition(file, std::to_string(n) + "ta", textures);
    sub.secondTexture = TexturePosition(file, std::to_string(n) + "tb", textures);
  }
  return true;
}

}  // namespace qrv
