// `qrv map`: compiles a Skipdale_2 level from its text grid into a map file, and prints a
// map file back as text (the format is described in map_format.h).
#include <cstdio>
#include <string>

#include "map_format.h"
#include "tool_command.h"
#include "tool_files.h"

namespace {

using qrv::tool::MapGrid;

int Fail(const char* path, const std::string& why) {
  std::fprintf(stderr, "qrv map: %s: %s\n", path, why.c_str());
  return 1;
}

int Compile(const char* source, const char* target) {
  std::string text;
  std::string why;
  if (!qrv::tool::ReadWholeFile(source, text, why)) return Fail(source, "cannot read: " + why);
  MapGrid grid;
  std::string error;
  if (!qrv::tool::ParseMapText(text, grid, error)) return Fail(source, error);
  if (!qrv::tool::WriteWholeFile(target, qrv::tool::EncodeMapFile(grid), why)) {
    return Fail(target, "cannot write: " + why);
  }
  return 0;
}

int Print(const char* path) {
  std::string bytes;
  std::string why;
  if (!qrv::tool::ReadWholeFile(path, bytes, why)) return Fail(path, "cannot read: " + why);
  MapGrid grid;
  std::string error;
  std::string text;
  if (!qrv::tool::DecodeMapFile(bytes, grid, error) ||
      !qrv::tool::FormatMapText(grid, text, error)) {
    return Fail(path, error);
  }
  if (bytes.size() > static_cast<size_t>(qrv::tool::kMapFileBytes)) {
    std::fprintf(stderr, "qrv map: %s: the %zu bytes after the map are never read\n", path,
                 bytes.size() - qrv::tool::kMapFileBytes);
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int Run(int argc, char** argv) {
  std::string mode = argc > 0 ? argv[0] : "";
  if (mode == "compile" && argc == 3) return Compile(argv[1], argv[2]);
  if (mode == "print" && argc == 2) return Print(argv[1]);
  std::fprintf(stderr, "usage: qrv map compile SOURCE.txt MAP.map | qrv map print MAP.map\n");
  return 2;
}

}  // namespace

QRV_TOOL_COMMAND(map, "compile SOURCE.txt MAP.map | print MAP.map", Run);
