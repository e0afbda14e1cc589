// Shelf packing with free runs per shelf; see atlas_packer.h.
#include "graphics2d/atlas_packer.h"

#include <algorithm>

namespace qrv {

AtlasPacker::AtlasPacker(int32_t pageSide) : side_(std::max(pageSide, 1)) {}

bool AtlasPacker::PlaceOnPage(int32_t index, int32_t w, int32_t h, AtlasPlace& place) {
  Page& page = pages_[size_t(index)];
  Shelf* best = nullptr;
  size_t bestSpan = 0;
  for (Shelf& shelf : page.shelves) {
    if (shelf.h < h || (best != nullptr && shelf.h >= best->h)) continue;
    for (size_t i = 0; i < shelf.free.size(); ++i) {
      if (shelf.free[i].w >= w) {
        best = &shelf;
        bestSpan = i;
        break;
      }
    }
  }
  // A new shelf fits better than an existing one more than half as high again.
  const bool roomAbove = int64_t(page.top) + h <= side_;
  if (roomAbove && (best == nullptr || int64_t(best->h) * 2 > int64_t(h) * 3)) {
    page.shelves.push_back({page.top, h, {{0, side_}}});
    page.top += h;
    best = &page.shelves.back();
    bestSpan = 0;
  }
  if (best == nullptr) return false;
  Span& span = best->free[bestSpan];
  place = {index, span.x, best->y, w, h};
  span.x += w;
  span.w -= w;
  if (span.w == 0) best->free.erase(best->free.begin() + std::ptrdiff_t(bestSpan));
  page.used = true;
  ++page.items;
  return true;
}

bool AtlasPacker::Place(int32_t w, int32_t h, AtlasPlace& place, bool& newPage) {
  newPage = false;
  if (w < 1 || h < 1 || w > side_ || h > side_) return false;
  int32_t unused = -1;
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (!pages_[i].used) {
      if (unused < 0) unused = int32_t(i);
      continue;
    }
    if (PlaceOnPage(int32_t(i), w, h, place)) return true;
  }
  if (unused < 0) {
    unused = int32_t(pages_.size());
    pages_.emplace_back();
  }
  newPage = true;
  return PlaceOnPage(unused, w, h, place);
}

bool AtlasPacker::Free(const AtlasPlace& place) {
  if (place.page < 0 || size_t(place.page) >= pages_.size()) return false;
  Page& page = pages_[size_t(place.page)];
  auto shelf = std::find_if(page.shelves.begin(), page.shelves.end(),
                            [&](const Shelf& s) { return s.y == place.y; });
  if (!page.used || shelf == page.shelves.end() || place.w < 1 || place.x < 0 ||
      int64_t(place.x) + place.w > side_) {
    return false;
  }
  std::vector<Span>& free = shelf->free;
  auto next = std::find_if(free.begin(), free.end(), [&](const Span& s) { return s.x > place.x; });
  // Room that overlaps free room was not handed out.
  if (next != free.end() && int64_t(place.x) + place.w > next->x) return false;
  if (next != free.begin() && int64_t(std::prev(next)->x) + std::prev(next)->w > place.x) {
    return false;
  }
  next = free.insert(next, {place.x, place.w});
  if (std::next(next) != free.end() && next->x + next->w == std::next(next)->x) {
    next->w += std::next(next)->w;
    free.erase(std::next(next));
  }
  if (next != free.begin() && std::prev(next)->x + std::prev(next)->w == next->x) {
    std::prev(next)->w += next->w;
    free.erase(next);
  }
  if (--page.items == 0) {
    page = Page();
    return true;
  }
  // Empty shelves at the top come down, so that rows of another height can use them.
  while (!page.shelves.empty() && page.shelves.back().free.size() == 1 &&
         page.shelves.back().free[0].w == side_) {
    page.top = page.shelves.back().y;
    page.shelves.pop_back();
  }
  return false;
}

int32_t AtlasPacker::PagesInUse() const {
  return int32_t(std::count_if(pages_.begin(), pages_.end(), [](const Page& p) { return p.used; }));
}

}  // namespace qrv
