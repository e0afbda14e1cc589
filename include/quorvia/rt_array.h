// RtArray: the runtime's array of up to four dimensions over one element kind, with a
// bounds check on every access. The first index varies fastest; a negative first index
// counts from the end. Small int32 and double arrays live in an inline block.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "quorvia/rt_string.h"

namespace qrv {

// The run-time stops of the array code: record the code, then END. Never return.
[[noreturn]] void ArrayBoundsStop();       // error 9
[[noreturn]] void ArrayShapeStop();        // error 8
[[noreturn]] void ArrayOutOfMemoryStop();  // error 7

// Storage rules per element kind: the inline block and the capacity step.
template <typename T>
struct ArrayKind {
  static constexpr int32_t kInline = 0;
  static constexpr int32_t kStep = 64;
};
template <>
struct ArrayKind<int32_t> {
  static constexpr int32_t kInline = 8;
  static constexpr int32_t kStep = 8;
};
template <>
struct ArrayKind<double> {
  static constexpr int32_t kInline = 16;
  static constexpr int32_t kStep = 8;
};

namespace detail {

// The inline block holds trivial numbers only, as a plain array: a byte-array buffer would
// let any element store alias the array's own fields and slow every access down.
template <typename T, int32_t N>
struct InlineBlock {
  static_assert(std::is_trivial_v<T>);
  T items[N];
  T* Get() const noexcept { return const_cast<T*>(items); }
};
template <typename T>
struct InlineBlock<T, 0> {
  T* Get() const noexcept { return nullptr; }
};

// Element count of a shape: size0 (negative counts as 0) times the other sizes (at least 1).
// -1 when the count does not fit an int32.
int64_t ShapeCount(int32_t size0, int32_t size1, int32_t size2, int32_t size3) noexcept;
// The capacity a count rounds up to; -1 when it does not fit an int32.
int64_t RoundedCapacity(int64_t count, int32_t step) noexcept;

}  // namespace detail

template <typename T>
class RtArray {
  static constexpr int32_t kInline = ArrayKind<T>::kInline;

 public:
  RtArray() noexcept = default;
  RtArray(const RtArray& other) { CopyFrom(other); }
  RtArray(RtArray&& other) noexcept { TakeFrom(other); }
  RtArray& operator=(const RtArray& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  RtArray& operator=(RtArray&& other) noexcept {
    if (this != &other) {
      Release();
      TakeFrom(other);
    }
    return *this;
  }
  ~RtArray() { Release(); }

  // Sizes the array; every element becomes the default. Error 7 when it cannot be stored.
  void Dim(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    int64_t count = CountOrStop(s0, s1, s2, s3);
    PrepareStorage(CapacityOrStop(detail::RoundedCapacity(count, ArrayKind<T>::kStep)), s0 <= 0);
    SetShape(s0, s1, s2, s3);
  }

  // Dim with capacity = count: for the runtime's own result arrays.
  void DimExact(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    int64_t count = CountOrStop(s0, s1, s2, s3);
    PrepareStorage(static_cast<int32_t>(count), s0 <= 0);
    SetShape(s0, s1, s2, s3);
  }

  // Resizes keeping every element whose indices lie inside both the old and new shape.
  void Redim(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    if (s0 < 1) {
      ClearShape();
      return;
    }
    RtArray resized;
    resized.Dim(s0, s1, s2, s3);
    CopyOverlap(resized);
    *this = std::move(resized);
  }

  // Dim(n), then element i = values[i].
  void DimFromList(int32_t n, const T* values) {
    Dim(n);
    for (int32_t i = 0; i < n; ++i) data_[i] = values[i];
  }

  // Appends one element to a one-dimensional array; error 8 on a wider array.
  void PushBack(const T& value) {
    if (dims_ > 1) ArrayShapeStop();
    T copy = value;  // the value may be one of this array's own elements
    int32_t n = size0_;
    if (n == INT32_MAX) ArrayOutOfMemoryStop();
    if (n + 1 > capacity_ || data_ == nullptr) {
      // Grow geometrically so that a run of appends stays linear in time.
      RtArray grown;
      int64_t wanted = std::max<int64_t>(detail::RoundedCapacity(n + 1, ArrayKind<T>::kStep),
                                         std::min<int64_t>(int64_t{capacity_} * 2, INT32_MAX));
      grown.PrepareStorage(CapacityOrStop(wanted), true);
      grown.SetShape(n + 1, 0, 0, 0);
      for (int32_t i = 0; i < n; ++i) grown.data_[i] = std::move(data_[i]);
      *this = std::move(grown);
    } else {
      data_[n] = T();
      SetShape(n + 1, 0, 0, 0);
    }
    ElementAt(n) = std::move(copy);
  }

  // Size of dimension k (0..3) as stored; any other k gives 0.
  int32_t Bounds(int32_t k) const noexcept {
    switch (k) {
      case 0:
        return size0_;
      case 1:
        return size1_;
      case 2:
        return size2_;
      case 3:
        return size3_;
      default:
        return 0;
    }
  }
  int32_t Dims() const noexcept { return dims_; }
  int32_t Capacity() const noexcept { return capacity_; }
  bool UsesInlineBlock() const noexcept { return kInline > 0 && data_ == inline_.Get(); }

  // The checked access: error 9 and the error stop for any index outside the shape.
  T& ElementAt(int32_t i0, int32_t i1 = 0, int32_t i2 = 0, int32_t i3 = 0) {
    int64_t first = i0 < 0 ? i0 + static_cast<int64_t>(limit0_) : i0;
    // Unsigned comparisons reject negative indices and indices past the end at once. All
    // four are evaluated without branching, so every field is read on every path and a
    // loop of accesses can keep them in registers.
    bool outside =
        (static_cast<int>(static_cast<uint64_t>(first) >= limit0_) |
         static_cast<int>(Outside(i1, limit1_)) | static_cast<int>(Outside(i2, limit2_)) |
         static_cast<int>(Outside(i3, limit3_))) != 0;
    // The element's address is formed only inside the shape: an unsized array has none.
    if (outside) ArrayBoundsStop();
    return data_[first + i1 * stride1_ + i2 * stride2_ + i3 * stride3_];
  }
  const T& ElementAt(int32_t i0, int32_t i1 = 0, int32_t i2 = 0, int32_t i3 = 0) const {
    return const_cast<RtArray*>(this)->ElementAt(i0, i1, i2, i3);
  }

  // The elements in storage order (count = size0 x the other sizes in use).
  T* Data() noexcept { return data_; }
  const T* Data() const noexcept { return data_; }
  int32_t Count() const noexcept { return static_cast<int32_t>(ShapeCountOf()); }

 private:
  static int64_t CountOrStop(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    int64_t count = detail::ShapeCount(s0, s1, s2, s3);
    if (count < 0) ArrayOutOfMemoryStop();
    return count;
  }
  static int32_t CapacityOrStop(int64_t capacity) {
    if (capacity < 0 || capacity > INT32_MAX ||
        static_cast<uint64_t>(capacity) > SIZE_MAX / sizeof(T)) {
      ArrayOutOfMemoryStop();
    }
    return static_cast<int32_t>(capacity);
  }

  int64_t ShapeCountOf() const noexcept {
    return dims_ == 0 ? 0 : detail::ShapeCount(size0_, size1_, size2_, size3_);
  }

  // Makes the storage hold `capacity` default elements, reusing it when it is big enough.
  void PrepareStorage(int32_t capacity, bool renew) {
    if (capacity_ < capacity || renew || data_ == nullptr) {
      Release();
      Allocate(capacity);
    } else {
      std::fill_n(data_, capacity_, T());
    }
  }

  void Allocate(int32_t capacity) {
    if (capacity <= kInline) {
      data_ = inline_.Get();
      std::uninitialized_value_construct_n(data_, kInline);
      capacity_ = capacity;
      return;
    }
    void* block = ::operator new (sizeof(T) * static_cast<size_t>(capacity),
                                  std::align_val_t{alignof(T)}, std::nothrow);
    if (block == nullptr) ArrayOutOfMemoryStop();
    data_ = static_cast<T*>(block);
    std::uninitialized_value_construct_n(data_, capacity);
    capacity_ = capacity;
  }

  void Release() noexcept {
    if (data_ != nullptr) {
      bool inlined = UsesInlineBlock();
      std::destroy_n(data_, inlined ? kInline : capacity_);
      if (!inlined) ::operator delete (data_, std::align_val_t{alignof(T)});
    }
    data_ = nullptr;
    capacity_ = 0;
    ClearShape();
  }

  void ClearShape() noexcept {
    size0_ = size1_ = size2_ = size3_ = 0;
    stride1_ = stride2_ = stride3_ = 0;
    limit0_ = limit1_ = limit2_ = limit3_ = 0;
    dims_ = 0;
  }

  // Index limit of dimension 1..3: an unused dimension (size 0) allows index 0 only, so an
  // access never lands outside the storage; a negative size allows nothing.
  static uint64_t Limit(int32_t size) noexcept {
    return size > 0 ? static_cast<uint64_t>(size) : (size == 0 ? 1u : 0u);
  }
  static int32_t Extent(int32_t size) noexcept { return size > 0 ? size : 1; }
  static bool Outside(int32_t index, uint64_t limit) noexcept {
    return static_cast<uint64_t>(int64_t{index}) >= limit;
  }

  void SetShape(int32_t s0, int32_t s1, int32_t s2, int32_t s3) noexcept {
    dims_ = s3 != 0 ? 4 : s2 != 0 ? 3 : s1 != 0 ? 2 : s0 > 0 ? 1 : 0;
    size0_ = std::max(s0, 0);
    size1_ = s1;
    size2_ = s2;
    size3_ = s3;
    limit0_ = static_cast<uint64_t>(size0_);
    stride1_ = size0_;
    stride2_ = stride1_ * Extent(s1);
    stride3_ = stride2_ * Extent(s2);
    limit1_ = Limit(s1);
    limit2_ = Limit(s2);
    limit3_ = Limit(s3);
  }

  // Copies the elements inside both shapes into `target` at the same indices.
  void CopyOverlap(RtArray& target) const {
    if (dims_ == 0) return;
    int32_t n0 = std::min(size0_, target.size0_);
    int32_t n1 = std::min(Extent(size1_), Extent(target.size1_));
    int32_t n2 = std::min(Extent(size2_), Extent(target.size2_));
    int32_t n3 = std::min(Extent(size3_), Extent(target.size3_));
    for (int32_t i3 = 0; i3 < n3; ++i3) {
      for (int32_t i2 = 0; i2 < n2; ++i2) {
        for (int32_t i1 = 0; i1 < n1; ++i1) {
          const T* from = data_ + i1 * stride1_ + i2 * stride2_ + i3 * stride3_;
          T* to = target.data_ + i1 * target.stride1_ + i2 * target.stride2_ + i3 * target.stride3_;
          std::copy_n(from, n0, to);
        }
      }
    }
  }

  void CopyFrom(const RtArray& source) {
    Dim(source.size0_, source.size1_, source.size2_, source.size3_);
    std::copy_n(source.data_, source.ShapeCountOf(), data_);
  }

  // Takes over another array's storage (the inline block is moved, not shared).
  void TakeFrom(RtArray& other) noexcept {
    if (other.UsesInlineBlock()) {
      data_ = inline_.Get();
      std::uninitialized_move_n(other.data_, kInline, data_);
    } else {
      data_ = std::exchange(other.data_, nullptr);
    }
    capacity_ = other.capacity_;
    stride1_ = other.stride1_, stride2_ = other.stride2_, stride3_ = other.stride3_;
    size0_ = other.size0_, size1_ = other.size1_, size2_ = other.size2_, size3_ = other.size3_;
    limit0_ = other.limit0_, limit1_ = other.limit1_;
    limit2_ = other.limit2_, limit3_ = other.limit3_;
    dims_ = other.dims_;
    other.Release();
  }

  T* data_ = nullptr;
  [[no_unique_address]] detail::InlineBlock<T, kInline> inline_;
  int32_t size0_ = 0, size1_ = 0, size2_ = 0, size3_ = 0;
  int32_t dims_ = 0;
  int32_t capacity_ = 0;
  // The indexing fields are 64-bit so that a store into an int32 element can never alias
  // them: a loop of accesses keeps them in registers.
  int64_t stride1_ = 0, stride2_ = 0, stride3_ = 0;
  uint64_t limit0_ = 0, limit1_ = 0, limit2_ = 0, limit3_ = 0;
};

// Free-function forms of the array operations, as translated code calls them.
template <typename T>
void Dim(RtArray<T>& a, int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
  a.Dim(s0, s1, s2, s3);
}
template <typename T>
void Redim(RtArray<T>& a, int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
  a.Redim(s0, s1, s2, s3);
}
template <typename T>
void CopyArray(RtArray<T>& target, const RtArray<T>& source) {
  target = source;
}
template <typename T>
void DimFromList(RtArray<T>& a, int32_t n, const T* values) {
  a.DimFromList(n, values);
}
template <typename T>
int32_t Bounds(const RtArray<T>& a, int32_t k) noexcept {
  return a.Bounds(k);
}
template <typename T>
void PushBack(RtArray<T>& a, const T& value) {
  a.PushBack(value);
}
template <typename T>
T& ElementAt(RtArray<T>& a, int32_t i0, int32_t i1 = 0, int32_t i2 = 0, int32_t i3 = 0) {
  return a.ElementAt(i0, i1, i2, i3);
}

// --- The literal data list -------------------------------------------------------------

// One item: a number (text null) or a text.
struct DataItem {
  double value;
  const char* text;
};

// Installs the list the reads take items from (null: no list) and rewinds it.
void SetDataList(const DataItem* items, int32_t count) noexcept;
// The next item as a double, an int32 or a string; error 20 past the end or with no list.
double ReadDataNumber();
int32_t ReadDataInteger();
RtString ReadDataString();

}  // namespace qrv
