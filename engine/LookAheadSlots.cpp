#include "LookAheadSlots.h"

#include <algorithm>

namespace tessel {

namespace {
// Slots already passed are dropped once they are this many and at least
// half of what is kept, so dropping costs little per slot.
constexpr std::size_t kLeastDrop = 4096;
}  // namespace

template <typename Unit>
void BasicLookAheadSlots<Unit>::Clear() {
  for (Part& part : parts_) {
    part = Part{};
    part.generation = ++restarts_;
  }
}

template <typename Unit>
void BasicLookAheadSlots<Unit>::Reserve(int n, std::int64_t count) {
  const auto size = static_cast<std::size_t>(count);
  for (int k = 0; k < n; ++k) {
    parts_[k].codes.reserve(size);
    parts_[k].places.reserve(size);
  }
}

template <typename Unit>
void BasicLookAheadSlots<Unit>::Restart(Part& part, std::int64_t start) {
  part.codes.clear();
  part.places.clear();
  part.zeros.clear();
  part.head = 0;
  part.read_end = start;
  part.feeds_at_end = 0;
  part.start_feeds = 0;
  part.ended = false;
  part.dropped = 0;
  part.generation = ++restarts_;
}

template <typename Unit>
void BasicLookAheadSlots<Unit>::Start(int k, std::int64_t start) {
  Part& part = parts_[k];
  // Only slots that hold a code have a start; slots past the end of the
  // source are not stored.
  const auto first =
      part.places.begin() + static_cast<std::ptrdiff_t>(part.head);
  const auto at = std::lower_bound(
      first, part.places.end(), start,
      [](const typename Part::Place& place, std::int64_t offset) {
        return place.start < offset;
      });
  if (at == part.places.end() || at->start != start) {
    // The walk went beyond what was read, or the start is not where a
    // slot's code begins: read afresh from there.
    Restart(part, start);
    return;
  }
  part.head = static_cast<std::size_t>(at - part.places.begin());
  part.start_feeds = at->feeds;
  if (part.head >= kLeastDrop && 2 * part.head >= part.codes.size()) {
    const auto drop = static_cast<std::ptrdiff_t>(part.head);
    part.codes.erase(part.codes.begin(), part.codes.begin() + drop);
    part.places.erase(part.places.begin(), part.places.begin() + drop);
    const auto kept =
        std::lower_bound(part.zeros.begin(), part.zeros.end(), part.head);
    part.zeros.erase(part.zeros.begin(), kept);
    for (std::size_t& zero : part.zeros) zero -= part.head;
    part.dropped += drop;
    part.head = 0;
  }
}

template <typename Unit>
std::span<const Unit> BasicLookAheadSlots<Unit>::Codes(
    int k, std::int64_t count) const {
  const Part& part = parts_[k];
  const std::size_t held = part.codes.size() - part.head;
  return {part.codes.data() + part.head,
          std::min<std::size_t>(held, static_cast<std::size_t>(count))};
}

template <typename Unit>
std::span<const Unit> BasicLookAheadSlots<Unit>::Window(
    int k, std::int64_t count) const {
  const Part& part = parts_[k];
  const std::span<const Unit> slots = Codes(k, count);
  const auto zero =
      std::lower_bound(part.zeros.begin(), part.zeros.end(), part.head);
  if (zero == part.zeros.end()) return slots;
  return slots.first(std::min(slots.size(), *zero - part.head));
}

template <typename Unit>
Code BasicLookAheadSlots<Unit>::CodeAt(int k, std::int64_t slot) const {
  const Part& part = parts_[k];
  const std::size_t at = part.head + static_cast<std::size_t>(slot);
  return at < part.codes.size() ? part.codes[at] : kEndOfSource;
}

template <typename Unit>
std::int64_t BasicLookAheadSlots<Unit>::RestOfLine(int k,
                                                   std::int64_t count) const {
  const Part& part = parts_[k];
  const auto first =
      part.places.begin() + static_cast<std::ptrdiff_t>(part.head);
  const auto last = first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                part.places.size() - part.head,
                                static_cast<std::size_t>(count)));
  if (first == last) return 0;
  // Slots up to the first line feed after the look-ahead's start.
  const auto line_end = std::upper_bound(
      first, last, part.start_feeds,
      [](std::int64_t feeds, const typename Part::Place& place) {
        return feeds < place.feeds;
      });
  const auto from = part.codes.begin() + (first - part.places.begin());
  return std::count_if(from, from + (line_end - first),
                       [](Unit code) { return code != 0; });
}

template class BasicLookAheadSlots<std::uint16_t>;
template class BasicLookAheadSlots<std::uint32_t>;

}  // namespace tessel
