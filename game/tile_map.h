// Skipdale_2's world: one screen of 32 x 24 tiles of 20 pixels, each cell with a tile type
// for collision and an optional graphic, loaded from a map file and drawn column by column.
#pragma once

#include <cstdint>

#include "movement.h"
#include "quorvia/quorvia.h"

namespace skipdale {

constexpr int32_t kMapColumns = 32;
constexpr int32_t kMapRows = 24;
constexpr int32_t kTileGraphicCount = 7;
// A map record's graphic index that leaves the cell without a graphic.
constexpr int32_t kNoGraphic = 128;

struct MapCell {
  int32_t type;    // the tile type (see movement.h); 0 after initialisation
  int32_t sprite;  // sprite id of the tile graphic, -1 for none
};

struct TileMap {
  qrv::RtArray<MapCell> cells;        // [column, row], 32 x 24
  qrv::RtArray<int32_t> tileSprites;  // the tile graphics list's sprite ids
};

// The tile graphics list, in the order map files index it.
extern const char* const kTileGraphicFiles[kTileGraphicCount];

// Sizes the cells, copies the list of tile sprite ids and empties every cell; returns 1.
int32_t InitTileMap(TileMap& map, const qrv::RtArray<int32_t>& tileSprites);

// Reads the 768 cell records of a map file: 1 when read, 0 when the file cannot be opened.
// A short file stops the program with error 3, a graphic index outside the list with 9.
int32_t LoadTileMap(TileMap& map, const qrv::RtString& fileName);

// Draws every cell's graphic at its natural size, column by column.
void DrawTileMap(const TileMap& map);

// The type of cell [column, row] by the array rules: a negative column counts from the end
// of the row; any other index outside the map stops the program with error 9.
int32_t TileTypeAt(const qrv::RtArray<MapCell>& cells, int32_t column, int32_t row);

}  // namespace skipdale
