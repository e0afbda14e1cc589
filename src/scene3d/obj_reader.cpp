// The text model reader: Wavefront OBJ positions, texture coordinates, normals and faces
// (polygons split into fans of triangles, negative indices counting back), read into one
// frame. Materials are not read. A face without normals gets its own flat normal.
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "quorvia/files.h"
#include "scene3d/normal_table.h"
#include "values/float_chars.h"

namespace qrv {

namespace {

// Models larger than this are refused unread; a model's triangles are capped likewise.
constexpr int32_t kMaxModelBytes = 256 << 20;
constexpr uint32_t kMaxModelVertices = 1u << 24;

struct Corner {
  int64_t position = 0, texture = -1, normal = -1;  // 0-based; -1 absent
};

struct ObjData {
  std::vector<Vector3> positions, normals;
  std::vector<std::array<float, 2>> textures;
  std::vector<std::array<Corner, 3>> triangles;
};

std::string_view NextWord(std::string_view& line) {
  size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    line = {};
    return {};
  }
  line.remove_prefix(start);
  size_t end = line.find_first_of(" \t\r");
  std::string_view word = line.substr(0, end);
  line.remove_prefix(end == std::string_view::npos ? line.size() : end);
  return word;
}

bool ParseFloat(std::string_view word, float& value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  auto [end, error] = FloatFromChars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

// Up to `most` numbers, at least `least`; missing ones keep their value.
bool ParseFloats(std::string_view line, float* values, int least, int most) {
  int count = 0;
  for (std::string_view word = NextWord(line); !word.empty(); word = NextWord(line)) {
    if (count < most && !ParseFloat(word, values[count])) return false;
    ++count;
  }
  return count >= least;
}

// One reference of a face ("v", "v/t", "v//n", "v/t/n") into a list of `size` entries:
// 1-based, or negative counting back from the last entry. -1 for an empty part.
bool ParseIndex(std::string_view text, size_t size, int64_t& index) {
  if (text.empty()) {
    index = -1;
    return true;
  }
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0) return false;
  index = value > 0 ? value - 1 : static_cast<int64_t>(size) + value;
  return index >= 0 && index < static_cast<int64_t>(size);
}

bool ParseCorner(std::string_view word, const ObjData& data, Corner& corner) {
  std::string_view parts[3];
  for (int i = 0; i < 3; ++i) {
    size_t slash = word.find('/');
    parts[i] = word.substr(0, slash);
    word = slash == std::string_view::npos ? std::string_view() : word.substr(slash + 1);
    if (slash == std::string_view::npos) break;
  }
  return !parts[0].empty() && ParseIndex(parts[0], data.positions.size(), corner.position) &&
         ParseIndex(parts[1], data.textures.size(), corner.texture) &&
         ParseIndex(parts[2], data.normals.size(), corner.normal);
}

bool ParseFace(std::string_view line, ObjData& data) {
  std::vector<Corner> corners;
  for (std::string_view word = NextWord(line); !word.empty(); word = NextWord(line)) {
    Corner corner;
    if (!ParseCorner(word, data, corner)) return false;
    corners.push_back(corner);
  }
  if (corners.size() < 3) return false;
  if ((data.triangles.size() + corners.size()) * 3 > kMaxModelVertices) return false;
  for (size_t i = 1; i + 1 < corners.size(); ++i) {
    data.triangles.push_back({corners[0], corners[i], corners[i + 1]});
  }
  return true;
}

bool ParseLine(std::string_view line, ObjData& data) {
  std::string_view keyword = NextWord(line);
  float v[3] = {0.0f, 0.0f, 0.0f};
  if (keyword == "v") {
    if (!ParseFloats(line, v, 3, 3)) return false;
    data.positions.push_back({v[0], v[1], v[2]});
  } else if (keyword == "vt") {
    if (!ParseFloats(line, v, 1, 2)) return false;
    data.textures.push_back({v[0], v[1]});
  } else if (keyword == "vn") {
    if (!ParseFloats(line, v, 3, 3)) return false;
    data.normals.push_back({v[0], v[1], v[2]});
  } else if (keyword == "f") {
    return ParseFace(line, data);
  }
  return true;  // comments, groups, smoothing, materials and the rest are not needed
}

Vector3 FaceNormal(const ObjData& data, const std::array<Corner, 3>& triangle) {
  const Vector3& a = data.positions[triangle[0].position];
  const Vector3& b = data.positions[triangle[1].position];
  const Vector3& c = data.positions[triangle[2].position];
  Vector3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
  Vector3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
  float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  if (length > 0.0f) n = {n.x / length, n.y / length, n.z / length};
  return n;
}

// OBJ counts v upwards from the image's bottom row; textures here start at the top row.
MeshVertex MakeVertex(const ObjData& data, const Corner& corner, Vector3 faceNormal,
                      const GrowableList<uint32_t>& colours) {
  MeshVertex vertex;
  const Vector3& p = data.positions[corner.position];
  Vector3 n = corner.normal >= 0 ? data.normals[corner.normal] : faceNormal;
  vertex.position[0] = p.x, vertex.position[1] = p.y, vertex.position[2] = p.z;
  vertex.normal[0] = n.x, vertex.normal[1] = n.y, vertex.normal[2] = n.z;
  if (corner.texture >= 0) {
    vertex.texture[0] = data.textures[corner.texture][0];
    vertex.texture[1] = 1.0f - data.textures[corner.texture][1];
  }
  SetVertexColour(vertex, colours, 0);
  return vertex;
}

bool Parse(std::string_view text, ObjData& data) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!ParseLine(line, data)) return false;
  }
  return !data.triangles.empty();
}

bool ReadAll(const RtString& name, std::vector<char>& text) {
  FileReader file;
  if (!file.OpenForReading(name.c_str())) return false;
  if (file.Size() <= 0 || file.Size() > kMaxModelBytes) return false;
  text.resize(static_cast<size_t>(file.Size()));
  return file.Read(text.data(), file.Size());
}

}  // namespace

bool LoadObjModel(MeshObject& object, const RtString& name) {
  object.Clear();
  std::vector<char> text;
  ObjData data;
  if (!ReadAll(name, text) || !Parse(std::string_view(text.data(), text.size()), data)) {
    return false;
  }
  uint32_t count = static_cast<uint32_t>(data.triangles.size() * 3);
  if (!object.colours.Append(0xFFFFFFFFu) || !object.frames.Resize(1) ||
      !object.frames[0].vertices.ReserveExactly(count)) {
    object.Clear();
    return false;
  }
  GrowableList<MeshVertex>& vertices = object.frames[0].vertices;
  for (const auto& triangle : data.triangles) {
    Vector3 faceNormal = FaceNormal(data, triangle);
    for (const Corner& corner : triangle) {
      vertices.Append(MakeVertex(data, corner, faceNormal, object.colours));
    }
  }
  PrepareObject(object);
  return true;
}

}  // namespace qrv
