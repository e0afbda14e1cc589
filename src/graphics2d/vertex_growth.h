// The growth rule of the device's vertex lists (polygons, text): they grow in steps and
// are reused frame after frame, so that drawing allocates only while a list still grows.
#pragma once

#include <cstddef>
#include <vector>

namespace qrv {

// Room for n entries: 512 at first, then the next multiple of 128 above n.
template <class Entry>
void ReserveInSteps(std::vector<Entry>& entries, size_t n) {
  if (n < entries.capacity()) return;
  entries.reserve(n <= 512 ? 512 : 128 * (n / 128 + 1));
}

}  // namespace qrv
