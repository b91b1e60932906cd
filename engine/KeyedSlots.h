// The keys of the look-ahead's slots in a run with variant tables, kept
// from one try and one search to the next. A slot keeps its code, and a
// code its key, for the whole run, so a wide look-ahead is keyed once
// rather than at every try of every search.

#ifndef TESSEL_ENGINE_KEYEDSLOTS_H_
#define TESSEL_ENGINE_KEYEDSLOTS_H_

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "LookAheadSlots.h"

namespace tessel {

class KeyedSlots {
 public:
  // The keys of `codes`, the window of source `k` whose first slot is
  // `first` of `generation` (LookAheadSlots::FirstSlot and Generation);
  // `key_of(code)` gives a code's key. Keys of slots met before in the
  // same generation are reused; the span stays valid until the next call
  // for source `k`.
  template <typename KeyOf>
  std::span<const std::uint16_t> Keys(int k, std::int64_t first,
                                      std::uint64_t generation,
                                      std::span<const std::uint16_t> codes,
                                      KeyOf&& key_of) {
    Part& part = parts_[k];
    const auto held = static_cast<std::int64_t>(part.keys.size());
    if (generation != part.generation || first < part.first ||
        first > part.first + held) {
      part.keys.clear();
      part.first = first;
      part.generation = generation;
    } else if (first - part.first >= kLeastDrop &&
               2 * (first - part.first) >= held) {
      part.keys.erase(part.keys.begin(),
                      part.keys.begin() + (first - part.first));
      part.first = first;
    }
    const auto offset = static_cast<std::size_t>(first - part.first);
    for (std::size_t i = part.keys.size() - offset; i < codes.size(); ++i) {
      part.keys.push_back(static_cast<std::uint16_t>(key_of(codes[i])));
    }
    return {part.keys.data() + offset, codes.size()};
  }

 private:
  // Keys already passed are dropped once they are this many and at least
  // half of what is kept, so dropping costs little per key.
  static constexpr std::int64_t kLeastDrop = 4096;

  struct Part {
    // The keys of the slots from `first` on.
    std::vector<std::uint16_t> keys;
    std::int64_t first = 0;
    std::uint64_t generation = 0;
  };
  std::array<Part, LookAheadSlots::kMaxSources> parts_;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_KEYEDSLOTS_H_
