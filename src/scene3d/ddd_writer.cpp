// The ".ddd" saver: always format version 2.0, texture coordinates from the first frame,
// normals stored as the index of their nearest table entry.
#include <vector>

#include "quorvia/files.h"
#include "scene3d/normal_table.h"

namespace qrv {

namespace {

class ByteSink {
 public:
  template <typename T>
  void Put(const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    bytes_.insert(bytes_.end(), bytes, bytes + sizeof value);
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

bool SaveObject(const MeshObject& object, const RtString& name) {
  if (object.frames.Count() == 0 || IsMemoryName(name.c_str())) return false;
  const MeshFrame& first = object.frames[0];
  ByteSink out;
  out.Put(kDddMagic);
  out.Put(2.0);
  out.Put(object.frames.Count());
  out.Put(object.colours.Count());
  out.Put(first.vertices.Count());
  for (uint32_t colour : object.colours) out.Put(colour);
  for (const MeshVertex& vertex : first.vertices) out.Put(vertex.texture);
  for (const MeshFrame& frame : object.frames) {
    out.Put(frame.vertices.Count());
    for (const MeshVertex& vertex : frame.vertices) {
      out.Put(vertex.position);
      out.Put(QuantiseNormal(vertex.normal));
      out.Put(vertex.colourIndex);
    }
  }
  // The file is made whole in memory first, so a failed save leaves no half header.
  if (out.Bytes().size() > static_cast<size_t>(INT32_MAX)) return false;
  FileReader file;
  if (!file.OpenForWriting(name.c_str())) return false;
  bool written = file.Write(out.Bytes().data(), static_cast<int32_t>(out.Bytes().size()));
  return file.Close() && written;
}

}  // namespace qrv
