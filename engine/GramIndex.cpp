#include "GramIndex.h"

#include <algorithm>
#include <bit>

namespace tessel {

namespace {

std::size_t SlotOf(std::uint64_t hash, std::size_t mask) {
  return static_cast<std::size_t>(hash >> 20) & mask;
}
}  // namespace

template <typename Unit>
std::uint64_t BasicGramIndex<Unit>::Hash(std::span<const Unit> gram) {
  std::uint64_t hash = 0;
  for (Unit code : gram) hash = hash * kMultiplier + code;
  return hash;
}

template <typename Unit>
std::uint64_t BasicGramIndex<Unit>::TopWeight(std::size_t length) {
  std::uint64_t top = 1;
  for (std::size_t j = 1; j < length; ++j) top *= kMultiplier;
  return top;
}

template <typename Unit>
bool BasicGramIndex<Unit>::SameGram(std::int32_t position,
                                    std::span<const Unit> gram) const {
  // Grams are a few characters: a plain loop beats a call to memcmp.
  const Unit* at = text_.data() + position;
  for (std::size_t j = 0; j < gram.size(); ++j) {
    if (at[j] != gram[j]) return false;
  }
  return true;
}

template <typename Unit>
void BasicGramIndex<Unit>::Build(std::span<const Unit> text,
                                 std::size_t length) {
  text_ = text;
  length_ = length;
  const std::size_t grams =
      text.size() >= length ? text.size() - length + 1 : 0;
  const std::size_t capacity =
      std::bit_ceil(std::max<std::size_t>(2 * grams, 16));
  slots_.assign(capacity, Slot{0, -1});
  mask_ = capacity - 1;
  if (grams == 0) return;

  // The weight of the character leaving the rolling window.
  const std::uint64_t top = TopWeight(length);
  std::uint64_t hash = Hash(text.first(length));
  for (std::size_t p = 0; p < grams; ++p) {
    if (p > 0) hash = Roll(hash, text[p - 1], text[p + length - 1], top);
    const auto gram = text.subspan(p, length);
    // Insert only a gram not seen before, so the first occurrence stays.
    for (std::size_t s = SlotOf(hash, mask_);; s = (s + 1) & mask_) {
      Slot& slot = slots_[s];
      if (slot.position < 0) {
        slot = Slot{CheckOf(hash), static_cast<std::int32_t>(p)};
        break;
      }
      if (slot.check == CheckOf(hash) && SameGram(slot.position, gram)) break;
    }
  }
}

template <typename Unit>
std::int32_t BasicGramIndex<Unit>::FindFirst(std::span<const Unit> gram) const {
  return FindFirst(gram, Hash(gram));
}

template <typename Unit>
std::int32_t BasicGramIndex<Unit>::FindFirst(std::span<const Unit> gram,
                                             std::uint64_t hash) const {
  if (gram.size() != length_ || slots_.empty()) return -1;
  for (std::size_t s = SlotOf(hash, mask_);; s = (s + 1) & mask_) {
    const Slot& slot = slots_[s];
    if (slot.position < 0) return -1;
    if (slot.check == CheckOf(hash) && SameGram(slot.position, gram))
      return slot.position;
  }
}

template class BasicGramIndex<std::uint16_t>;
template class BasicGramIndex<std::uint32_t>;

}  // namespace tessel
