// Skipdale_2 map files and their text form, for `qrv map`.
//
// A map file is 768 records of two little-endian int32 (tile type, graphic index), row by
// row, 32 cells a row; 128 as graphic index means "no graphic". The text form is:
//   ; comment lines start with a semicolon (anywhere, between grid rows too)
//   legend C TYPE GRAPHIC     (GRAPHIC an index into the tile graphics list, or "none")
//   map
//   24 rows of exactly 32 legend characters
// The characters '.' (empty), '#' (solid, graphic 0), '/' (slope rising to the right,
// graphic 3) and '\' (slope falling to the right, graphic 4) are known without a legend line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qrv::tool {

constexpr int kMapColumns = 32;
constexpr int kMapRows = 24;
constexpr int kMapCells = kMapColumns * kMapRows;
constexpr int kMapFileBytes = kMapCells * 8;
constexpr int32_t kNoGraphic = 128;

struct MapRecord {
  int32_t type = 0;
  int32_t graphic = kNoGraphic;
  bool operator==(const MapRecord&) const = default;
};

// The cells in file order: cell (column, row) is element row * 32 + column.
using MapGrid = std::array<MapRecord, kMapCells>;

// Text form to grid. On failure returns false and says why, with the line number.
bool ParseMapText(std::string_view text, MapGrid& grid, std::string& error);

// Grid to text form; fails only when the grid has more distinct cells than characters.
bool FormatMapText(const MapGrid& grid, std::string& text, std::string& error);

// Grid to the 6144 bytes of a map file.
std::string EncodeMapFile(const MapGrid& grid);

// The first 6144 bytes of a map file to a grid (the game never reads past them); a shorter
// file fails.
bool DecodeMapFile(std::string_view bytes, MapGrid& grid, std::string& error);

}  // namespace qrv::tool
