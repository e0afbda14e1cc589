// NodeHashTable: the planner's table of the search's nodes, open and expanded alike. It has
// one bucket per grid cell, so finding a cell's node is a single index; a node's own flag
// says whether it waits in the open list or has been expanded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "pathfinding/node.h"

namespace qrv {

class NodeHashTable {
 public:
  // Sizes the table for a width x height grid and empties it; false when memory is short.
  bool Init(int32_t width, int32_t height);
  // The node of cell (x, y), or none; (x, y) must lie in the grid.
  Node* Find(int32_t x, int32_t y) const { return buckets_[Cell(x, y)]; }
  // Files a node under its cell, which must not have one yet.
  void Insert(Node* node) { buckets_[Cell(node->x, node->y)] = node; }
  // Takes the node out of the table.
  void Remove(const Node& node) { buckets_[Cell(node.x, node.y)] = nullptr; }

 private:
  size_t Cell(int32_t x, int32_t y) const {
    return static_cast<size_t>(x) + static_cast<size_t>(y) * width_;
  }

  std::unique_ptr<Node*[]> buckets_;
  size_t width_ = 0;
};

}  // namespace qrv
