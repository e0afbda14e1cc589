// Skipdale_2's tile map: initialising, loading the map file through a file channel, and
// drawing the tile graphics.
#include "tile_map.h"

namespace skipdale {

const char* const kTileGraphicFiles[kTileGraphicCount] = {
    "Media/gfx/t1.bmp",      "Media/gfx/t2.bmp", "Media/gfx/t3.bmp", "Media/gfx/tsloper.bmp",
    "Media/gfx/tslopel.bmp", "Media/gfx/t6.bmp", "Media/gfx/t7.bmp"};

int32_t InitTileMap(TileMap& map, const qrv::RtArray<int32_t>& tileSprites) {
  qrv::Dim(map.cells, kMapColumns, kMapRows);
  qrv::CopyArray(map.tileSprites, tileSprites);
  for (int32_t c = 0; c < kMapColumns; ++c) {
    for (int32_t r = 0; r < kMapRows; ++r) map.cells.ElementAt(c, r) = {0, -1};
  }
  return 1;
}

int32_t LoadTileMap(TileMap& map, const qrv::RtString& fileName) {
  const int32_t channel = qrv::FreeChannel();
  if (channel < 0 || !qrv::OpenChannel(channel, fileName, 1)) return 0;
  for (int32_t r = 0; r < kMapRows; ++r) {
    for (int32_t c = 0; c < kMapColumns; ++c) {
      MapCell& cell = map.cells.ElementAt(c, r);
      int32_t graphic = 0;
      qrv::ReadInt32(channel, cell.type);
      qrv::ReadInt32(channel, graphic);
      // The list's own bounds check takes a negative index from its end (-1 is t7).
      if (graphic != kNoGraphic) cell.sprite = map.tileSprites.ElementAt(graphic);
    }
  }
  // Give the channel back: the map is the only file the game reads, but a loader that keeps
  // channels open would run out of them when called again.
  qrv::CloseChannel(channel);
  return 1;
}

void DrawTileMap(const TileMap& map) {
  for (int32_t c = 0; c < kMapColumns; ++c) {
    for (int32_t r = 0; r < kMapRows; ++r) {
      const int32_t sprite = map.cells.ElementAt(c, r).sprite;
      if (sprite != -1) qrv::DrawSprite(sprite, c * kTileSize, r * kTileSize);
    }
  }
}

int32_t TileTypeAt(const qrv::RtArray<MapCell>& cells, int32_t column, int32_t row) {
  return cells.ElementAt(column, row).type;
}

}  // namespace skipdale
