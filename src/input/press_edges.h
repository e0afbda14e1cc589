// The edge rule for keys and buttons: from present's samples (what is held) and the taps
// between them, which went down (hit) and which came up (released) since the previous sample.
// A pure rule over bit sets, shared by the key table and the mouse buttons.
#pragma once

#include <bitset>
#include <cstddef>

namespace qrv {

template <size_t N>
class PressEdges {
 public:
  using Set = std::bitset<N>;

  // A tap is a key that both went down and came up, in either order, since the previous
  // sample: a press and release between two samples, or a release and press again. Events
  // of one kind alone add nothing: they show in what is held, or, when the table was kept
  // (the window without the focus), they must not contradict it.
  static Set Taps(const Set& wentDown, const Set& cameUp) { return wentDown & cameUp; }

  // Present's sample: hit are the keys held now and not at the previous sample, released
  // the reverse, and a tap is both. Before the first sample nothing counts as held.
  void Sample(const Set& held, const Set& taps) {
    hit_ = (held & ~held_) | taps;
    released_ = (held_ & ~held) | taps;
    held_ = held;
  }

  bool Hit(size_t index) const { return index < N && hit_.test(index); }
  bool Released(size_t index) const { return index < N && released_.test(index); }

 private:
  Set held_, hit_, released_;
};

}  // namespace qrv
