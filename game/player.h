// Skipdale_2's player: the record, the keyboard controls, one movement step per frame
// against the player's own copy of the map, and drawing the figure facing its way.
#pragma once

#include <cstdint>

#include "tile_map.h"

namespace skipdale {

// Scan codes of the controls.
constexpr int32_t kKeyRight = 205;
constexpr int32_t kKeyLeft = 203;
constexpr int32_t kKeyJump = 42;  // left Shift

struct Player {
  int32_t x;                          // left edge of the collision box
  int32_t y;                          // top edge of the collision box (y grows downwards)
  int32_t height;                     // 37
  int32_t width;                      // 11
  int32_t dx;                         // -4, 0 or 4
  int32_t dy;                         // positive downwards; 1 while standing
  int32_t facingRight;                // 1 after the last move right, 0 after the last move left
  int32_t inAir;                      // 1 while jumping or falling
  qrv::RtArray<int32_t> sprites;      // [0] facing left, [1] facing right
  qrv::RtArray<MapCell> cells;        // the player's own copy of the map
  qrv::RtArray<int32_t> tileSprites;  // copy of the tile graphics list
  int32_t lastColumn;                 // column of the box centre after the last step
  int32_t lastRow;                    // row of the feet after the last step
};

// Puts the player at the start (100, 100) facing right, with copies of the lists and map.
void InitPlayer(Player& player, const qrv::RtArray<int32_t>& sprites, const TileMap& map);
// Reads the arrow keys and left Shift, then moves.
void UpdatePlayer(Player& player);
// One step of movement and collision.
void MovePlayer(Player& player);
// Draws the figure facing its way; a sprite id of -1 (graphic not loaded) draws nothing.
void DrawPlayer(const Player& player);

}  // namespace skipdale
