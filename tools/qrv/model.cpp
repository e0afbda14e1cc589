// qrv model: looks into 3D object files (".ddd" or Wavefront OBJ) and converts them to
// ".ddd", for artists bringing models from their own tools.
#include <cstdio>
#include <cstring>
#include <string>

#include "quorvia/scene3d.h"
#include "tool_command.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "qrv model: %s\n", message.c_str());
  return 1;
}

struct FileHeader {
  std::string format = "OBJ";
  long coordinates = -1;  // the ".ddd" header's count; -1 for a text model
};

FileHeader HeaderOf(const char* path) {
  FileHeader header;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return header;
  unsigned char bytes[24] = {};
  size_t got = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  uint32_t magic = 0, coordinates = 0;
  double version = 0.0;
  std::memcpy(&magic, bytes, 4);
  std::memcpy(&version, bytes + 4, 8);
  std::memcpy(&coordinates, bytes + 20, 4);
  if (got < sizeof bytes || magic != 0x00C6B317u) return header;
  char text[32];
  std::snprintf(text, sizeof text, ".ddd %.2f", version);
  header.format = text;
  header.coordinates = static_cast<long>(coordinates);
  return header;
}

bool Load(const char* path, qrv::MeshObject& object) {
  return qrv::LoadDddObject(object, qrv::RtString(path));
}

int Info(const char* path) {
  qrv::MeshObject object;
  if (!Load(path, object)) return Fail("cannot read " + std::string(path) + " as a 3D object");
  FileHeader header = HeaderOf(path);
  std::printf("format %s\n", header.format.c_str());
  std::printf("frames %u\n", object.frames.Count());
  std::printf("vertices per frame");
  for (const qrv::MeshFrame& frame : object.frames) std::printf(" %u", frame.vertices.Count());
  std::printf("\ncolours %u\n", object.colours.Count());
  long coordinates = header.coordinates;
  if (coordinates < 0) coordinates = static_cast<long>(object.frames[0].vertices.Count());
  std::printf("texture coordinates %ld\n", coordinates);
  const qrv::BoundingSphere& s = object.frames[0].sphere;
  std::printf("sphere %g %g %g radius %g\n", s.centre[0], s.centre[1], s.centre[2], s.radius);
  return 0;
}

int Convert(const char* in, const char* out) {
  qrv::MeshObject object;
  if (!Load(in, object)) return Fail("cannot read " + std::string(in) + " as a 3D object");
  if (!qrv::SaveObject(object, qrv::RtString(out))) return Fail("cannot write " + std::string(out));
  return 0;
}

int Run(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[0], "info") == 0) return Info(argv[1]);
  if (argc == 3 && std::strcmp(argv[0], "convert") == 0) return Convert(argv[1], argv[2]);
  std::fprintf(stderr, "usage: qrv model info FILE | qrv model convert IN OUT.ddd\n");
  return 2;
}

}  // namespace

QRV_TOOL_COMMAND(model, "info FILE | convert IN OUT.ddd", Run);
