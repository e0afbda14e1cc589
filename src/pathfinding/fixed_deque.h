// FixedDeque: a ring buffer of fixed capacity, with pushes and pops at both ends and
// insertion and removal at any position. It never allocates after Init.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace qrv {

template <typename T>
class FixedDeque {
 public:
  // Sets the capacity and empties the deque; false when memory is short (capacity 0).
  bool Init(size_t capacity) {
    items_.reset(new (std::nothrow) T[capacity]);
    capacity_ = items_ == nullptr ? 0 : capacity;
    Clear();
    return capacity_ == capacity;
  }
  void Clear() {
    head_ = 0;
    tail_ = 0;
    empty_ = true;
  }

  size_t Capacity() const { return capacity_; }
  bool Empty() const { return empty_; }
  bool Full() const { return !empty_ && head_ == tail_; }
  // A full deque has head = tail with the empty flag clear.
  size_t Size() const {
    if (empty_) return 0;
    return tail_ > head_ ? tail_ - head_ : capacity_ + tail_ - head_;
  }

  // Element i counted from the head; i must be below Size().
  T& At(size_t i) { return items_[Wrap(head_ + i)]; }
  const T& At(size_t i) const { return items_[Wrap(head_ + i)]; }
  T& Back() { return items_[Wrap(tail_ + capacity_ - 1)]; }
  T& Front() { return items_[head_]; }

  bool PushBack(const T& value) {
    if (Full() || capacity_ == 0) return false;
    items_[tail_] = value;
    tail_ = Wrap(tail_ + 1);
    empty_ = false;
    return true;
  }
  bool PushFront(const T& value) {
    if (Full() || capacity_ == 0) return false;
    head_ = Wrap(head_ + capacity_ - 1);
    items_[head_] = value;
    empty_ = false;
    return true;
  }
  bool PopBack() {
    if (empty_) return false;
    tail_ = Wrap(tail_ + capacity_ - 1);
    empty_ = head_ == tail_;
    return true;
  }
  bool PopFront() {
    if (empty_) return false;
    head_ = Wrap(head_ + 1);
    empty_ = head_ == tail_;
    return true;
  }

  // Inserts before position pos (pos = Size() appends); false when full or pos is past the end.
  bool Insert(size_t pos, const T& value) {
    size_t size = Size();
    if (pos > size || !PushBack(value)) return false;
    for (size_t i = size; i > pos; --i) At(i) = At(i - 1);
    At(pos) = value;
    return true;
  }
  // Removes the element at pos; false when there is none.
  bool Erase(size_t pos) {
    size_t size = Size();
    if (pos >= size) return false;
    for (size_t i = pos; i + 1 < size; ++i) At(i) = At(i + 1);
    return PopBack();
  }

 private:
  // Every index handed in is below twice the capacity.
  size_t Wrap(size_t i) const { return i >= capacity_ ? i - capacity_ : i; }

  std::unique_ptr<T[]> items_;
  size_t capacity_ = 0;
  size_t head_ = 0;
  size_t tail_ = 0;  // one past the last element
  bool empty_ = true;
};

}  // namespace qrv
