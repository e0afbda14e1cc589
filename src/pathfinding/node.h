// Node: one searched cell of the planner, handed out by the node pool.
// A cell never gets two nodes in one search, so a node doubles as the cell's search record.
#pragma once

#include <cstdint>

namespace qrv {

struct Node {
  Node* parent;    // none for the start cell
  int32_t x, y;    // the cell
  float f;         // ordering key: w * h + (1 - w) * g
  float g;         // cost from the start
  uint32_t order;  // the open list's number for the node's latest entry (older ones are stale)
  bool open;       // waiting in the open list; once taken out it counts as expanded
};

}  // namespace qrv
