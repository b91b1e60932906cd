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

 private:
  struct Slot {
    std::uint64_t hash;
    std::int32_t position;  // -1: empty
  };
  static std::uint64_t Hash(std::span<const Unit> gram);
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
