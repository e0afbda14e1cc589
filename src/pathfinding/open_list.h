// OpenList: the planner's open nodes, lowest f first and, among equal f, the node that
// entered first. A binary heap over a FixedDeque; re-ranking a node adds a fresh entry and
// leaves the old one behind as stale, to be dropped when it comes to the top.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "pathfinding/fixed_deque.h"
#include "pathfinding/node.h"

namespace qrv {

class OpenList {
 public:
  // Room for capacity open nodes; empties the list. False when memory is short (the list
  // then takes nothing). Entries are numbered below orders (fewer only to test renumbering).
  bool Init(size_t capacity, uint32_t orders = UINT32_MAX);
  bool Empty() const { return open_ == 0; }
  // The number of open nodes (stale entries do not count).
  size_t Size() const { return open_; }
  // Opens a node with its f set, or re-ranks a node that is open already; either way it
  // becomes the newest of its f. False when a node would have to be opened in a full list.
  bool Insert(Node* node) {
    if (!node->open) {
      if (open_ == capacity_) return false;
      node->open = true;
      ++open_;
    }
    if (heap_.Full() || next_ >= orders_) Renumber();
    node->order = next_;
    Entry entry{Key(node->f, next_++), node};
    heap_.PushBack(entry);
    SiftUp(heap_.Size() - 1, entry);
    return true;
  }
  // Removes and returns the best open node; the list must not be empty.
  Node* PopBest();
  // Empties the list; returns how many nodes were open.
  size_t Clear();

 private:
  // The node's rank travels with it: f in the high half, the entry's number in the low.
  struct Entry {
    uint64_t key;
    Node* node;
  };
  // Maps f to an integer of the same order, -0 folded into +0 as the two compare equal.
  static uint64_t Key(float f, uint32_t order) {
    uint32_t bits;
    const float folded = f + 0.0f;
    std::memcpy(&bits, &folded, sizeof bits);
    bits ^= (bits >> 31) != 0 ? UINT32_MAX : 0x80000000u;
    return uint64_t{bits} << 32 | order;
  }
  static bool Stale(const Entry& entry) {
    return static_cast<uint32_t>(entry.key) != entry.node->order;
  }
  void RemoveTop();
  void SiftUp(size_t slot, Entry entry);
  void SiftDown(size_t slot, Entry entry, size_t size);
  void Renumber();

  FixedDeque<Entry> heap_;
  size_t capacity_ = 0;
  size_t open_ = 0;
  uint32_t orders_ = 0;
  uint32_t next_ = 0;  // the next entry's number
};

}  // namespace qrv
