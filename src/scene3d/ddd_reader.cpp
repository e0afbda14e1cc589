// The ".ddd" object reader: a header (magic, version, counts), the colour list, the
// texture coordinates, then the frames in the version-1 (quantised) or version-2 (float)
// layout. Every count is checked against the bytes left before anything is allocated.
#include <cstring>
#include <vector>

#include "quorvia/files.h"
#include "quorvia/frame.h"
#include "scene3d/normal_table.h"

namespace qrv {

namespace {

enum class Failure { kNone, kVersion, kRead, kMemory };

class DddReader {
 public:
  explicit DddReader(FileReader& in) : in_(in) {}

  template <typename T>
  bool Value(T& value) {
    return Bytes(&value, sizeof value);
  }
  // True when count records of the given size are still in the file.
  bool Holds(uint32_t count, uint32_t recordBytes) const {
    return uint64_t{count} * recordBytes <= Left();
  }
  // Exactly n bytes or a failure: a file cut short fails alike from disk and from memory
  // (a memory block would deliver zeros past its end).
  bool Bytes(void* destination, uint64_t n) {
    return n <= Left() && in_.Read(destination, static_cast<int32_t>(n));
  }

 private:
  uint64_t Left() const {
    const int64_t left = int64_t{in_.Size()} - in_.Position();
    return left > 0 ? static_cast<uint64_t>(left) : 0;
  }

  FileReader& in_;
};

struct Header {
  double version = 0.0;
  uint32_t frames = 0, colours = 0, coordinates = 0;
};

struct Coordinates {
  std::vector<float> u, v;
};

// The coordinates of vertex i, (0, 0) for a vertex beyond the coordinate list.
void SetTexture(MeshVertex& vertex, const Coordinates& uv, uint32_t i, float vSign) {
  if (i >= uv.u.size()) return;
  vertex.texture[0] = uv.u[i];
  vertex.texture[1] = vSign * uv.v[i];
}

void SetNormal(float destination[3], uint8_t index) {
  std::memcpy(destination, StoredNormal(index), 3 * sizeof(float));
}

Failure ReadColours(DddReader& in, uint32_t count, MeshObject& object) {
  if (!in.Holds(count, 4)) return Failure::kRead;
  if (!object.colours.ReserveExactly(count)) return Failure::kMemory;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t colour = 0;
    if (!in.Value(colour)) return Failure::kRead;
    object.colours.Append(colour);
  }
  return Failure::kNone;
}

Failure ReadCoordinates(DddReader& in, uint32_t count, Coordinates& uv) {
  if (!in.Holds(count, 8)) return Failure::kRead;
  std::vector<float> pairs(size_t{count} * 2);
  if (count > 0 && !in.Bytes(pairs.data(), uint64_t{count} * 8)) return Failure::kRead;
  uv.u.resize(count);
  uv.v.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    uv.u[i] = pairs[2 * i];
    uv.v[i] = pairs[2 * i + 1];
  }
  return Failure::kNone;
}

// Version 1: positions quantised to bytes against a per-frame offset and scale; the v
// coordinate is stored with the opposite sign.
Failure ReadFrameV1(DddReader& in, const MeshObject& object, const Coordinates& uv,
                    MeshFrame& frame) {
  uint32_t count = 0;
  float offset[3], scale[3];
  if (!in.Value(count) || !in.Value(offset) || !in.Value(scale)) return Failure::kRead;
  if (!in.Holds(count, 5)) return Failure::kRead;
  if (!frame.vertices.ReserveExactly(count) || !frame.vertices.Resize(count)) {
    return Failure::kMemory;
  }
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t record[5];
    if (!in.Value(record)) return Failure::kRead;
    MeshVertex& vertex = frame.vertices[i];
    for (int axis = 0; axis < 3; ++axis) {
      vertex.position[axis] = (static_cast<float>(record[axis]) - offset[axis]) * scale[axis];
    }
    SetNormal(vertex.normal, record[3]);
    SetNormal(vertex.further[1], 0);
    SetNormal(vertex.further[2], 0);
    SetTexture(vertex, uv, i, -1.0f);
    SetVertexColour(vertex, object.colours, record[4]);
  }
  return Failure::kNone;
}

// Version 2: float positions, then the normal index and the colour index.
Failure ReadFrameV2(DddReader& in, const MeshObject& object, const Coordinates& uv,
                    MeshFrame& frame) {
  uint32_t count = 0;
  if (!in.Value(count)) return Failure::kRead;
  if (!in.Holds(count, 14)) return Failure::kRead;
  if (!frame.vertices.ReserveExactly(count) || !frame.vertices.Resize(count)) {
    return Failure::kMemory;
  }
  for (uint32_t i = 0; i < count; ++i) {
    float position[3];
    uint8_t indices[2];
    if (!in.Value(position) || !in.Value(indices)) return Failure::kRead;
    MeshVertex& vertex = frame.vertices[i];
    std::memcpy(vertex.position, position, sizeof position);
    SetNormal(vertex.normal, indices[0]);
    SetTexture(vertex, uv, i, 1.0f);
    SetVertexColour(vertex, object.colours, indices[1]);
  }
  return Failure::kNone;
}

Failure ReadBody(DddReader& in, const Header& header, MeshObject& object) {
  if (!(header.version >= 1.02 && header.version <= 2.0)) return Failure::kVersion;
  // Every frame holds at least its vertex count (and in version 1 its offset and scale);
  // an object without frames is refused.
  bool versionOne = header.version < 2.0;
  if (header.frames == 0 || !in.Holds(header.frames, versionOne ? 28 : 4)) return Failure::kRead;
  Failure failure = ReadColours(in, header.colours, object);
  Coordinates uv;
  if (failure == Failure::kNone) failure = ReadCoordinates(in, header.coordinates, uv);
  if (failure != Failure::kNone) return failure;
  if (!object.frames.ReserveExactly(header.frames) || !object.frames.Resize(header.frames)) {
    return Failure::kMemory;
  }
  for (MeshFrame& frame : object.frames) {
    failure = versionOne ? ReadFrameV1(in, object, uv, frame) : ReadFrameV2(in, object, uv, frame);
    if (failure != Failure::kNone) return failure;
  }
  return Failure::kNone;
}

void LogFailure(Failure failure, const RtString& name) {
  if (failure == Failure::kVersion) AppendToErrorLog("Wrong .ddd version.");
  AppendToErrorLog(failure == Failure::kMemory ? "# malloc error" : "# read error");
  AppendToErrorLog(name.c_str());
}

}  // namespace

bool LoadDddObject(MeshObject& object, const RtString& name) {
  object.Clear();
  FileReader file;
  if (!file.OpenForReading(name.c_str())) return false;
  DddReader in(file);
  uint32_t magic = 0;
  if (!in.Value(magic) || magic != kDddMagic) {
    file.Close();
    if (LoadObjModel(object, name)) return true;
    LogFailure(Failure::kRead, name);
    return false;
  }
  Header header;
  Failure failure = Failure::kRead;
  if (in.Value(header.version) && in.Value(header.frames) && in.Value(header.colours) &&
      in.Value(header.coordinates)) {
    failure = ReadBody(in, header, object);
  }
  if (failure != Failure::kNone) {
    object.Clear();
    LogFailure(failure, name);
    return false;
  }
  PrepareObject(object);
  return true;
}

}  // namespace qrv
