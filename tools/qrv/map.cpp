// `qrv map`: compiles a Skipdale_2 level from its text grid into a map file, and prints a
// map file back as text (the format is described in map_format.h).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "map_format.h"
#include "tool_command.h"

namespace {

using qrv::tool::MapGrid;

bool ReadWhole(const char* path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

int Fail(const char* path, const std::string& why) {
  std::fprintf(stderr, "qrv map: %s: %s\n", path, why.c_str());
  return 1;
}

int Compile(const char* source, const char* target) {
  std::string text;
  if (!ReadWhole(source, text)) return Fail(source, "cannot be read");
  MapGrid grid;
  std::string error;
  if (!qrv::tool::ParseMapText(text, grid, error)) return Fail(source, error);
  std::string bytes = qrv::tool::EncodeMapFile(grid);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), bytes.size()) || !out.flush()) {
    return Fail(target, "cannot be written");
  }
  return 0;
}

int Print(const char* path) {
  std::string bytes;
  if (!ReadWhole(path, bytes)) return Fail(path, "cannot be read");
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
