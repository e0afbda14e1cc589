// NodeHashTable: sizing the per-cell buckets.
#include "pathfinding/node_hash_table.h"

#include <algorithm>
#include <new>

namespace qrv {

bool NodeHashTable::Init(int32_t width, int32_t height) {
  size_t cells = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
  buckets_.reset(new (std::nothrow) Node*[cells]());
  bool ok = buckets_ != nullptr || cells == 0;
  width_ = ok ? static_cast<size_t>(std::max(width, 0)) : 0;
  return ok;
}

}  // namespace qrv
