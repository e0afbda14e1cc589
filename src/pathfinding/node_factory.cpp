// NodeFactory: taking the pool's single block of nodes.
#include "pathfinding/node_factory.h"

#include <new>

namespace qrv {

bool NodeFactory::Init(size_t capacity) {
  nodes_.reset();
  capacity_ = 0;
  next_ = 0;
  // Left uninitialised: pages a search never reaches are never touched.
  nodes_.reset(new (std::nothrow) Node[capacity]);
  if (nodes_ == nullptr && capacity > 0) return false;
  capacity_ = capacity;
  return true;
}

}  // namespace qrv
