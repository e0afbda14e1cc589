// NodeHashTable: the planner's table of expanded nodes. It has one bucket per grid cell,
// so a lookup is a single index and a bucket never holds more than the cell's own node.
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
  // The expanded node of cell (x, y), or none; (x, y) must lie in the grid.
  Node* Find(int32_t x, int32_t y) const { return buckets_[Cell(x, y)]; }
  // Adds a node; a node already in the table stays once.
  void Insert(Node* node) {
    Node*& bucket = buckets_[Cell(node->x, node->y)];
    count_ += bucket == nullptr;
    bucket = node;
  }
  // Takes the node out of the table (it is being reopened).
  void Unlink(Node* node);
  size_t Count() const { return count_; }
  // Empties every bucket; returns how many nodes the table held.
  size_t Clear();

 private:
  size_t Cell(int32_t x, int32_t y) const {
    return static_cast<size_t>(x) + static_cast<size_t>(y) * width_;
  }

  std::unique_ptr<Node*[]> buckets_;
  size_t cells_ = 0;
  size_t width_ = 0;
  size_t count_ = 0;
};

}  // namespace qrv
