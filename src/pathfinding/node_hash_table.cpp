// NodeHashTable: inserting, unlinking and clearing the per-cell buckets.
#include "pathfinding/node_hash_table.h"

#include <algorithm>
#include <new>

namespace qrv {

bool NodeHashTable::Init(int32_t width, int32_t height) {
  size_t cells = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
  buckets_.reset(new (std::nothrow) Node*[cells]());
  bool ok = buckets_ != nullptr || cells == 0;
  cells_ = ok ? cells : 0;
  width_ = ok ? static_cast<size_t>(std::max(width, 0)) : 0;
  count_ = 0;
  return ok;
}

void NodeHashTable::Unlink(Node* node) {
  Node*& bucket = buckets_[Cell(node->x, node->y)];
  if (bucket != node) return;
  bucket = nullptr;
  --count_;
}

size_t NodeHashTable::Clear() {
  size_t held = count_;
  if (held > 0) std::fill(buckets_.get(), buckets_.get() + cells_, nullptr);
  count_ = 0;
  return held;
}

}  // namespace qrv
