// Fuzzes the map readers of `qrv map`: every input is tried both as a map file and as the
// text form, and whatever is accepted must survive a round trip through the other form.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// The codec is part of the qrv tool, which is not a library: compile it in here.
#include "../tools/qrv/map_format.cpp"

namespace {

using qrv::tool::MapGrid;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A grid that prints must parse back to itself.
void CheckTextRoundTrip(const MapGrid& grid) {
  std::string text, error;
  if (!qrv::tool::FormatMapText(grid, text, error)) return;
  MapGrid again;
  Require(qrv::tool::ParseMapText(text, again, error));
  Require(again == grid);
}

void CheckFileRoundTrip(const MapGrid& grid) {
  std::string bytes = qrv::tool::EncodeMapFile(grid);
  Require(bytes.size() == static_cast<size_t>(qrv::tool::kMapFileBytes));
  MapGrid again;
  std::string error;
  Require(qrv::tool::DecodeMapFile(bytes, again, error));
  Require(again == grid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), data ? size : 0);
  MapGrid grid;
  std::string error;
  if (qrv::tool::DecodeMapFile(input, grid, error)) {
    CheckTextRoundTrip(grid);
  } else {
    Require(!error.empty());
  }
  if (qrv::tool::ParseMapText(input, grid, error)) {
    CheckFileRoundTrip(grid);
    CheckTextRoundTrip(grid);
  } else {
    Require(!error.empty());
  }
  return 0;
}
