// Room on shared texture pages: rectangles are packed on shelves (rows of one height)
// from the bottom of a page up. Freed room goes back to its shelf and is reused; a
// shelf left empty at the top of its page is taken down; a page that holds nothing more
// is given up and its number reused. The packer knows no GL: the sprite atlas keeps the
// textures behind the page numbers.
#pragma once

#include <cstdint>
#include <vector>

namespace qrv {

struct AtlasPlace {
  int32_t page = -1;  // -1: nowhere
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 0;
  int32_t h = 0;
};

class AtlasPacker {
 public:
  // Pages are pageSide x pageSide (at least 1).
  explicit AtlasPacker(int32_t pageSide);
  int32_t PageSide() const { return side_; }
  // Room for w x h: on the page and shelf it wastes least on, else on a new shelf, else on
  // a new page (newPage then says its texture is to be made). False, with nothing taken,
  // when w or h is below 1 or above the page side.
  bool Place(int32_t w, int32_t h, AtlasPlace& place, bool& newPage);
  // Gives back room Place handed out. True when its page holds nothing any more: the
  // page is given up (its texture is to be deleted). Room not handed out is ignored.
  bool Free(const AtlasPlace& place);
  // Pages that hold something.
  int32_t PagesInUse() const;

 private:
  struct Span {
    int32_t x, w;
  };
  struct Shelf {
    int32_t y, h;
    std::vector<Span> free;  // free runs along the shelf, sorted by x, never touching
  };
  struct Page {
    bool used = false;
    int32_t top = 0;             // the first row above the highest shelf
    int32_t items = 0;           // rectangles placed
    std::vector<Shelf> shelves;  // sorted by y
  };
  bool PlaceOnPage(int32_t index, int32_t w, int32_t h, AtlasPlace& place);
  int32_t side_;
  std::vector<Page> pages_;
};

}  // namespace qrv
