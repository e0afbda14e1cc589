// Skipdale_2's movement and collision step: slopes, walls, ceilings, floors and gravity.
// It works on any record with the player's motion fields and asks a callable for tile
// types, so the game runs it on its map copy and the tests on grids of their own.
#pragma once

#include <algorithm>
#include <cstdint>

namespace skipdale {

constexpr int32_t kTileSize = 20;
constexpr int32_t kRunSpeed = 4;
constexpr int32_t kJumpSpeed = -13;
constexpr int32_t kTerminalFall = 20;

enum TileType : int32_t { kEmpty = 0, kSolid = 1, kSlopeUp = 2, kSlopeDown = 3 };

// Where the feet stand inside a slope cell of the given row at offset o (0..19 from its left
// edge): the y that puts them there, or false when the cell is not a slope.
template <typename Body>
bool SlopeSurface(const Body& p, int32_t type, int32_t row, int32_t o, int32_t& y) {
  if (type == kSlopeDown) y = row * kTileSize + o - p.height - 1;
  if (type == kSlopeUp) y = row * kTileSize - o - p.height + (kTileSize - 1);
  return type == kSlopeDown || type == kSlopeUp;
}

// The slope rule. True when the player ended the step standing on a slope; otherwise the
// step goes on with horizontal and vertical movement (y may have been set by a step).
template <typename Body, typename TypeAt>
bool WalkSlopes(Body& p, TypeAt& typeAt) {
  const int32_t px = p.x + p.width / 2 + p.dx;
  const int32_t c = px / kTileSize;
  const int32_t o = px % kTileSize;
  int32_t row = (p.y + p.height) / kTileSize;
  int32_t y = 0;
  if (!SlopeSurface(p, typeAt(c, row), row, o, y)) {
    // Not on a slope now: step over a tile border from the slope stood on last.
    const int32_t last = typeAt(p.lastColumn, p.lastRow);
    const bool up = (last == kSlopeDown && p.dx <= 0) || (last == kSlopeUp && p.dx >= 0);
    const bool down = (last == kSlopeDown && p.dx > 0) || (last == kSlopeUp && p.dx < 0);
    if (!up && !down) return false;
    p.y = up ? row * kTileSize - p.height - 1 : row * kTileSize + (kTileSize - 1) - p.height;
    row = (p.y + p.height + (up ? 0 : kTileSize)) / kTileSize;
    if (!SlopeSurface(p, typeAt(c, row), row, o, y)) return false;
  }
  p.y = y;
  p.x += p.dx;  // slopes have no wall test
  p.inAir = 0;
  p.dy = 1;
  p.lastColumn = c;
  p.lastRow = row;
  return true;
}

// Runs into solid blocks in the column ahead; stops one pixel short of them.
template <typename Body, typename TypeAt>
void MoveHorizontally(Body& p, TypeAt& typeAt) {
  if (p.dx == 0) return;
  const int32_t w = (p.dx > 0 ? p.x + p.dx + p.width : p.x + p.dx) / kTileSize;
  for (int32_t row = (p.y - p.y % kTileSize) / kTileSize; row * kTileSize <= p.y + p.height;
       ++row) {
    if (typeAt(w, row) == kSolid) {
      p.x = p.dx > 0 ? w * kTileSize - p.width - 1 : w * kTileSize + kTileSize + 1;
      return;
    }
  }
  p.x += p.dx;
}

// Whether any column under the box (at the current x) has a cell in `row` that the test
// accepts. Every column is probed, as each probe checks the map's bounds.
template <typename Body, typename TypeAt, typename Test>
bool AnyColumn(const Body& p, TypeAt& typeAt, int32_t row, Test test) {
  bool found = false;
  for (int32_t c = (p.x - p.x % kTileSize) / kTileSize; c * kTileSize <= p.x + p.width; ++c) {
    found = test(typeAt(c, row)) || found;
  }
  return found;
}

// Rising bumps into any non-empty cell; falling lands only on solid blocks.
template <typename Body, typename TypeAt>
void MoveVertically(Body& p, TypeAt& typeAt) {
  if (p.dy < 0) {
    const int32_t h = (p.y + p.dy) / kTileSize;
    if (AnyColumn(p, typeAt, h, [](int32_t t) { return t != kEmpty; })) {
      p.y = h * kTileSize + kTileSize + 1;
      p.dy = 0;
    } else {
      p.y += p.dy;
      p.dy += 1;
    }
    return;
  }
  const int32_t f = (p.y + p.dy + p.height) / kTileSize;
  if (AnyColumn(p, typeAt, f, [](int32_t t) { return t == kSolid; })) {
    p.y = f * kTileSize - p.height - 1;
    p.dy = 1;
    p.inAir = 0;
  } else {
    p.y += p.dy;
    p.dy = std::min(p.dy + 1, kTerminalFall);
    p.inAir = 1;
  }
}

// One frame of movement for the speeds the controls have set.
template <typename Body, typename TypeAt>
void MoveBody(Body& p, TypeAt&& typeAt) {
  if (p.dy >= 1 && WalkSlopes(p, typeAt)) return;
  MoveHorizontally(p, typeAt);
  MoveVertically(p, typeAt);
  p.lastColumn = (p.x + p.width / 2) / kTileSize;
  p.lastRow = (p.y + p.height) / kTileSize;
}

}  // namespace skipdale
