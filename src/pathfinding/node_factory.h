// NodeFactory: the planner's node pool, allocated once per configuration so that the
// search itself never allocates. Nodes are handed out in order and given back wholesale.
#pragma once

#include <cstddef>
#include <memory>

#include "pathfinding/node.h"

namespace qrv {

class NodeFactory {
 public:
  // Makes room for capacity nodes and gives every node back; false when memory is short
  // (the pool is then empty).
  bool Init(size_t capacity);
  // The next free node (contents undefined), or none when the pool is used up.
  Node* Allocate() { return next_ < capacity_ ? &nodes_[next_++] : nullptr; }
  // Gives count nodes back. Nodes stay allocated until the pool is re-initialised.
  void Release(size_t count) { next_ = count < next_ ? next_ - count : 0; }
  size_t InUse() const { return next_; }
  // Node i of those handed out; i must be below InUse().
  const Node& At(size_t i) const { return nodes_[i]; }
  size_t Capacity() const { return capacity_; }

 private:
  // One block rather than one allocation per node: allocating a million nodes one by one
  // costs more than the search that uses them.
  std::unique_ptr<Node[]> nodes_;
  size_t capacity_ = 0;
  size_t next_ = 0;
};

}  // namespace qrv
