// Skipdale_2's player: start values, controls, the movement step on the player's map copy,
// and the figure's drawing offsets.
#include "player.h"

namespace skipdale {

void InitPlayer(Player& player, const qrv::RtArray<int32_t>& sprites, const TileMap& map) {
  player.x = 100;
  player.y = 100;
  player.height = 37;
  player.width = 11;
  player.dx = 0;
  player.dy = 0;
  player.facingRight = 1;
  player.inAir = 0;
  qrv::CopyArray(player.sprites, sprites);
  qrv::CopyArray(player.cells, map.cells);
  qrv::CopyArray(player.tileSprites, map.tileSprites);
  player.lastColumn = (player.x + player.width / 2) / kTileSize;
  player.lastRow = (player.y + player.height) / kTileSize;
}

void UpdatePlayer(Player& player) {
  player.dx = 0;
  if (qrv::KeyDown(kKeyRight)) {
    player.dx = kRunSpeed;
    player.facingRight = 1;
  } else if (qrv::KeyDown(kKeyLeft)) {
    player.dx = -kRunSpeed;
    player.facingRight = 0;
  }
  if (qrv::KeyDown(kKeyJump) && player.inAir == 0) {
    player.dy = kJumpSpeed;
    player.inAir = 1;
  }
  MovePlayer(player);
}

void MovePlayer(Player& player) {
  MoveBody(player, [&player](int32_t column, int32_t row) {
    return TileTypeAt(player.cells, column, row);
  });
}

void DrawPlayer(const Player& player) {
  const int32_t sprite = player.sprites.ElementAt(player.facingRight ? 1 : 0);
  if (sprite == -1) return;
  if (player.facingRight) {
    qrv::DrawSprite(sprite, player.x - 4, player.y - 2);
  } else {
    qrv::DrawSprite(sprite, player.x - 17, player.y - 2);
  }
}

}  // namespace skipdale
