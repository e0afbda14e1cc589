// RtArray support: the shape arithmetic shared by every element kind and the array
// code's run-time stops.
#include "quorvia/rt_array.h"

#include "quorvia/frame.h"

namespace qrv {

[[noreturn]] void ArrayBoundsStop() {
  ErrorStop(9);
}
[[noreturn]] void ArrayShapeStop() {
  ErrorStop(8);
}
[[noreturn]] void ArrayOutOfMemoryStop() {
  ErrorStop(7);
}

namespace detail {

int64_t ShapeCount(int32_t size0, int32_t size1, int32_t size2, int32_t size3) noexcept {
  // Each factor is below 2^31, so every partial product checked here fits an int64.
  int64_t count = size0 > 0 ? size0 : 0;
  for (int32_t size : {size1, size2, size3}) {
    count *= size > 0 ? size : 1;
    if (count > INT32_MAX) return -1;
  }
  return count;
}

int64_t RoundedCapacity(int64_t count, int32_t step) noexcept {
  int64_t capacity = count / step * step + step;
  return capacity > INT32_MAX ? -1 : capacity;
}

}  // namespace detail
}  // namespace qrv
