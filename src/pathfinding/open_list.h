// OpenList: the planner's open nodes, lowest f first and, among equal f, the node that
// entered first. A binary heap over a FixedDeque with a per-cell slot index, so finding,
// adding, re-ranking and taking the best node all cost O(log n) or less.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "pathfinding/fixed_deque.h"
#include "pathfinding/node.h"

namespace qrv {

class OpenList {
 public:
  // Room for capacity nodes over a width x height grid; empties the list. False when
  // memory is short (the list then takes nothing).
  bool Init(size_t capacity, int32_t width, int32_t height);
  bool Empty() const { return heap_.Empty(); }
  size_t Size() const { return heap_.Size(); }
  // The open node of cell (x, y), or none; (x, y) must lie in the grid.
  Node* Find(int32_t x, int32_t y) const {
    int32_t slot = slots_[static_cast<size_t>(x) + static_cast<size_t>(y) * width_];
    return slot < 0 ? nullptr : heap_.At(static_cast<size_t>(slot)).node;
  }
  // Adds a node with its f already set, as the newest of its f; false when full.
  bool Insert(Node* node) {
    Entry entry{node->f, Cell(node), entries_, node};
    if (!heap_.PushBack(entry)) return false;
    ++entries_;
    SiftUp(heap_.Size() - 1, entry);
    return true;
  }
  // Re-ranks an open node whose f has changed, as the newest of its (new) f.
  void Reinsert(Node* node);
  // Removes and returns the best node; the list must not be empty.
  Node* PopBest();
  // Empties the list; returns how many nodes it held.
  size_t Clear();

 private:
  // The node's key travels with it so that ranking never has to visit the node.
  struct Entry {
    float f;
    uint32_t cell;
    uint64_t order;
    Node* node;
  };
  // The order the search needs: lower f first, then the earlier entry.
  static bool Before(const Entry& a, const Entry& b) {
    return a.f < b.f || (a.f == b.f && a.order < b.order);
  }
  uint32_t Cell(const Node* node) const {
    return static_cast<uint32_t>(node->x + static_cast<size_t>(node->y) * width_);
  }
  void Place(size_t slot, const Entry& entry) {
    heap_.At(slot) = entry;
    slots_[entry.cell] = static_cast<int32_t>(slot);
  }
  void SiftUp(size_t slot, Entry entry);
  void SiftDown(size_t slot, Entry entry);

  FixedDeque<Entry> heap_;
  std::unique_ptr<int32_t[]> slots_;  // heap slot of each cell's open node, -1 for none
  size_t cells_ = 0;
  size_t width_ = 0;
  uint64_t entries_ = 0;  // insertions so far: the next node's order
};

}  // namespace qrv
