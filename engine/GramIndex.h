// An index of the first occurrence of every run of a fixed number of
// characters in a token window, so that the anchor search can look an
// anchor up at once instead of scanning the window for it.

#ifndef TESSEL_ENGINE_GRAMINDEX_H_
#define TESSEL_ENGINE_GRAMINDEX_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessel {

// Unit is the window's slot: 16-bit Big5 codes or 32-bit Unicode keys.
template <typename Unit>
class BasicGramIndex {
 public:
  // Indexes every run of `length` characters of `text`, which must outlive
  // the index or the next Build. Reuses the storage of earlier builds.
  void Build(std::span<const Unit> text, std::size_t length);

  // The first position at which `gram` (of the built length) starts in the
  // text, or -1 when it does not occur.
  std::int32_t FindFirst(std::span<const Unit> gram) const;
  // The same for a gram whose Hash the caller has, such as one rolled
  // along a text with Roll.
  std::int32_t FindFirst(std::span<const Unit> gram, std::uint64_t hash) const;

  // The hash of a gram, and the hash of the gram one character further on
  // in a text: `leaving` drops out, `entering` comes in. `top` is
  // TopWeight of the gram's length.
  static std::uint64_t Hash(std::span<const Unit> gram);
  static std::uint64_t TopWeight(std::size_t length);
  static std::uint64_t Roll(std::uint64_t hash, Unit leaving, Unit entering,
                            std::uint64_t top) {
    return (hash - leaving * top) * kMultiplier + entering;
  }

 private:
  // Eight bytes a slot: the top half of the hash, enough to pass over
  // most other grams without comparing them, and the position.
  struct Slot {
    std::uint32_t check;
    std::int32_t position;  // -1: empty
  };
  static std::uint32_t CheckOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
  }
  // An odd multiplier with well-mixed bits, for a polynomial hash mod 2^64.
  static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

  bool SameGram(std::int32_t position, std::span<const Unit> gram) const;

  std::span<const Unit> text_;
  std::size_t length_ = 0;
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

using GramIndex = BasicGramIndex<std::uint16_t>;
using WideGramIndex = BasicGramIndex<std::uint32_t>;

}  // namespace tessel

#endif  // TESSEL_ENGINE_GRAMINDEX_H_
