// OpenList: the binary heap's sifting, kept in step with the per-cell slot index.
#include "pathfinding/open_list.h"

#include <algorithm>
#include <new>

namespace qrv {

bool OpenList::Init(size_t capacity, int32_t width, int32_t height) {
  size_t cells = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
  slots_.reset(new (std::nothrow) int32_t[cells]);
  bool ok = (slots_ != nullptr || cells == 0) && heap_.Init(capacity);
  cells_ = ok ? cells : 0;
  width_ = ok ? static_cast<size_t>(std::max(width, 0)) : 0;
  if (!ok) heap_.Init(0);
  std::fill(slots_.get(), slots_.get() + cells_, -1);
  entries_ = 0;
  return ok;
}

void OpenList::Reinsert(Node* node) {
  size_t slot = static_cast<size_t>(slots_[Cell(node)]);
  Entry entry{node->f, Cell(node), entries_++, node};
  // Its f may have moved either way, and it now ranks after every other node of that f.
  if (slot > 0 && Before(entry, heap_.At((slot - 1) / 2))) {
    SiftUp(slot, entry);
  } else {
    SiftDown(slot, entry);
  }
}

Node* OpenList::PopBest() {
  Node* best = heap_.At(0).node;
  slots_[heap_.At(0).cell] = -1;
  Entry last = heap_.Back();
  heap_.PopBack();
  if (heap_.Empty()) return best;
  // The last entry usually belongs near the bottom: move the hole down along the better
  // children first, then let the entry rise from there (half the comparisons of a sift).
  size_t size = heap_.Size(), hole = 0;
  for (size_t child = 1; child < size; child = 2 * hole + 1) {
    if (child + 1 < size && Before(heap_.At(child + 1), heap_.At(child))) ++child;
    Place(hole, heap_.At(child));
    hole = child;
  }
  SiftUp(hole, last);
  return best;
}

size_t OpenList::Clear() {
  size_t held = heap_.Size();
  for (size_t i = 0; i < held; ++i) slots_[heap_.At(i).cell] = -1;
  heap_.Clear();
  return held;
}

void OpenList::SiftUp(size_t slot, Entry entry) {
  while (slot > 0) {
    size_t parent = (slot - 1) / 2;
    const Entry& above = heap_.At(parent);
    if (!Before(entry, above)) break;
    Place(slot, above);
    slot = parent;
  }
  Place(slot, entry);
}

void OpenList::SiftDown(size_t slot, Entry entry) {
  size_t size = heap_.Size();
  for (;;) {
    size_t child = 2 * slot + 1;
    if (child >= size) break;
    if (child + 1 < size && Before(heap_.At(child + 1), heap_.At(child))) ++child;
    const Entry& below = heap_.At(child);
    if (!Before(below, entry)) break;
    Place(slot, below);
    slot = child;
  }
  Place(slot, entry);
}

}  // namespace qrv
