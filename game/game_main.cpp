// Skipdale_2's main routine: the start sequence (frame rate, transparent colour, graphics,
// map, player) and the endless loop of update, draw and present.
#include "game_main.h"

#include "player.h"
#include "tile_map.h"
#include "trace.h"

namespace skipdale {
namespace {

constexpr int32_t kFrameRate = 30;
constexpr int32_t kTransparentColour = 0xFF00FF;

// Loads a graphic into the first free sprite id. A file that does not load gives -1 rather
// than the id: that id is still free and would be handed to the next graphic, and the
// missing one would then be drawn with another's picture.
int32_t LoadGraphic(const char* file) {
  const int32_t id = qrv::FirstFreeSprite();
  if (id < 0) return -1;
  qrv::LoadSprite(file, id);
  return qrv::LastError() == 0 ? id : -1;
}

}  // namespace

int32_t GameMain() {
  qrv::RtArray<int32_t> tileSprites;
  qrv::RtArray<int32_t> playerSprites;
  qrv::Dim(tileSprites, kTileGraphicCount);
  qrv::Dim(playerSprites, 2);
  qrv::SetFrameRate(kFrameRate);
  qrv::SetTransparentColour(kTransparentColour);
  for (int32_t i = 0; i < kTileGraphicCount; ++i) {
    tileSprites.ElementAt(i) = LoadGraphic(kTileGraphicFiles[i]);
  }
  playerSprites.ElementAt(0) = LoadGraphic("Media/gfx/left.bmp");
  playerSprites.ElementAt(1) = LoadGraphic("Media/gfx/right.bmp");
  const int32_t background = LoadGraphic("Media/gfx/bg.bmp");

  TileMap map;
  InitTileMap(map, tileSprites);
  if (!LoadTileMap(map, "Media/maps/map01.map")) return 0;
  Player player;
  InitPlayer(player, playerSprites, map);

  PlayerTrace trace;
  for (int32_t frame = 0;; ++frame) {
    UpdatePlayer(player);
    trace.Write(frame, player);
    if (background != -1) qrv::DrawSprite(background, 0, 0);
    DrawTileMap(map);
    DrawPlayer(player);
    qrv::Present();
  }
}

}  // namespace skipdale
