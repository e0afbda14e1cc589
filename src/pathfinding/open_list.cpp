// OpenList: the binary heap's sifting, dropping stale entries and renumbering the entries
// when the heap is full of them or the numbers run out.
#include "pathfinding/open_list.h"

#include <utility>

namespace qrv {

// One slot more than there can be open nodes: a full heap then always holds a stale entry,
// so renumbering makes room even for re-ranking a node when every slot is open.
bool OpenList::Init(size_t capacity, uint32_t orders) {
  bool ok = heap_.Init(capacity + 1);
  if (!ok) heap_.Init(0);
  capacity_ = ok ? capacity : 0;
  orders_ = orders;
  open_ = 0;
  next_ = 0;
  return ok;
}

Node* OpenList::PopBest() {
  for (;;) {
    Entry best = heap_.At(0);
    RemoveTop();
    if (Stale(best)) continue;
    best.node->open = false;
    --open_;
    return best.node;
  }
}

size_t OpenList::Clear() {
  size_t held = open_;
  heap_.Clear();
  open_ = 0;
  next_ = 0;
  return held;
}

void OpenList::RemoveTop() {
  Entry last = heap_.Back();
  heap_.PopBack();
  size_t size = heap_.Size(), hole = 0;
  if (size == 0) return;
  // The last entry usually belongs near the bottom: move the hole down along the better
  // children first, then let the entry rise from there (half the comparisons of a sift).
  for (size_t child = 1; child < size; child = 2 * hole + 1) {
    if (child + 1 < size && heap_.At(child + 1).key < heap_.At(child).key) ++child;
    heap_.At(hole) = heap_.At(child);
    hole = child;
  }
  SiftUp(hole, last);
}

void OpenList::SiftUp(size_t slot, Entry entry) {
  while (slot > 0) {
    size_t parent = (slot - 1) / 2;
    const Entry& above = heap_.At(parent);
    if (above.key <= entry.key) break;
    heap_.At(slot) = above;
    slot = parent;
  }
  heap_.At(slot) = entry;
}

void OpenList::SiftDown(size_t slot, Entry entry, size_t size) {
  for (size_t child = 2 * slot + 1; child < size; child = 2 * slot + 1) {
    if (child + 1 < size && heap_.At(child + 1).key < heap_.At(child).key) ++child;
    if (entry.key <= heap_.At(child).key) break;
    heap_.At(slot) = heap_.At(child);
    slot = child;
  }
  heap_.At(slot) = entry;
}

// Sorts the entries best first (a sorted array is still a heap), drops the stale ones and
// numbers the rest from 0 on, which keeps every rank among equal f.
void OpenList::Renumber() {
  size_t size = heap_.Size();
  for (size_t end = size; end > 1; --end) {  // heap sort: the best entries gather at the back
    Entry best = heap_.At(0);
    SiftDown(0, heap_.At(end - 1), end - 1);
    heap_.At(end - 1) = best;
  }
  for (size_t i = 0; i < size / 2; ++i) std::swap(heap_.At(i), heap_.At(size - 1 - i));
  // Staleness is judged by the old numbers, so every entry is judged before any is renumbered.
  size_t kept = 0;
  for (size_t i = 0; i < size; ++i) {
    if (!Stale(heap_.At(i))) heap_.At(kept++) = heap_.At(i);
  }
  while (heap_.Size() > kept) heap_.PopBack();
  for (uint32_t i = 0; i < kept; ++i) {
    Entry& entry = heap_.At(i);
    entry.node->order = i;
    entry.key = (entry.key >> 32 << 32) | i;
  }
  next_ = static_cast<uint32_t>(kept);
}

}  // namespace qrv
