// The look-ahead of every source after a difference: one slot per compared
// character, kept from one difference to the next, so that a wide
// look-ahead is read once rather than again at every difference.
//
// A slot is what one read of the look-ahead yields: the ignored characters
// are passed over and the first compared character, or 0 at the end of the
// source or at a 0x1A, is its code. Slots are read in the order a fresh
// look-ahead would read them, slot by slot across the sources, so that a
// notation enters the notation table in the spelling met first, just as
// if every look-ahead were read afresh.
//
// The slots hold a Big5 run's 16-bit codes (LookAheadSlots) or a Unicode
// run's 32-bit keys (WideLookAheadSlots); a slot reader (TokenSlotReader
// below, UnicodeSlotReader in UnicodeRunStages.h) says what one read is.

#ifndef TESSEL_ENGINE_LOOKAHEADSLOTS_H_
#define TESSEL_ENGINE_LOOKAHEADSLOTS_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "CharCodes.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel {

// Reads the slots of a Big5 run. Inline: it runs once per slot.
class TokenSlotReader {
 public:
  explicit TokenSlotReader(TokenReader& reader) : reader_(reader) {}

  // Passes over ignored codes of source `k`, adding its line feeds to
  // `feeds`, and returns the first compared code (0 at the end of the
  // source or at a 0x1A), with where it begins in `start`.
  Code Read(int /*k*/, SourceStream& src, std::int64_t& start,
            std::int64_t& feeds) {
    Code code;
    for (;;) {
      start = src.Tell();
      code = reader_.ReadToken(src);
      if (!reader_.IsIgnored(code)) break;
      if (code == kEndOfSource) break;
      if (code == kLineFeed) ++feeds;
    }
    return code;
  }

  // After Read gave 0: whether source `k` has ended (or failed), so that no
  // further slot holds anything.
  bool Ended(int /*k*/, const SourceStream& src) const {
    return src.Eof() || src.Error();
  }

 private:
  TokenReader& reader_;
};

template <typename Unit>
class BasicLookAheadSlots {
 public:
  static constexpr int kMaxSources = 3;

  // Forgets every slot read so far.
  void Clear();

  // Sets room aside for `count` slots of each of the first `n` sources, so
  // that a look-ahead of that size needs no memory later. Throws
  // std::bad_alloc when there is not enough.
  void Reserve(int n, std::int64_t count);

  // Starts the look-ahead of source `k` at byte `start`, where a compared
  // character begins. Slots read before from that very character on are
  // kept; any others are dropped.
  void Start(int k, std::int64_t start);

  // Makes sure the first `count` slots of each of the first `n` sources
  // are read, reading slot by slot across the sources with `reader`
  // (TokenSlotReader, or a reader with its Read and Ended).
  template <typename SlotReader>
  void ReadSlotsWith(SlotReader reader,
                     std::array<SourceStream*, kMaxSources> sources, int n,
                     std::int64_t count);

  // The same through a Big5 run's token reader.
  void ReadSlots(TokenReader& reader,
                 std::array<SourceStream*, kMaxSources> sources, int n,
                 std::int64_t count) {
    ReadSlotsWith(TokenSlotReader(reader), sources, n, count);
  }

  // The codes of the first `count` slots of source `k` (read already).
  std::span<const Unit> Codes(int k, std::int64_t count) const;

  // The window of source `k`: its first `count` slots (read already) up to
  // the first 0, the end of the source or a 0x1A.
  std::span<const Unit> Window(int k, std::int64_t count) const;

  // The code of slot `slot` of source `k` (read already): 0 beyond the end.
  Code CodeAt(int k, std::int64_t slot) const;

  // How many of the first `count` slots of source `k` hold a compared
  // character before the first line feed.
  std::int64_t RestOfLine(int k, std::int64_t count) const;

  // The number of the first slot of source `k`'s look-ahead, counted from
  // the first slot read after the last restart: it grows as the walk moves
  // on, and slot n is the same character whatever look-ahead holds it.
  std::int64_t FirstSlot(int k) const {
    return parts_[k].dropped + static_cast<std::int64_t>(parts_[k].head);
  }
  // Changes whenever source `k`'s slots are read afresh (the walk went
  // beyond what was read, or Clear), so that slot numbers from before
  // are not mistaken for the same characters.
  std::uint64_t Generation(int k) const { return parts_[k].generation; }

  // The slots kept for each source, for the memory they take.
  std::int64_t SlotsHeld(int k) const {
    return static_cast<std::int64_t>(parts_[k].codes.size());
  }

 private:
  struct Part {
    // From `head` on: the slots of the current look-ahead.
    std::vector<Unit> codes;
    // Where each slot's code begins in the source, and the line feeds
    // passed since the first slot kept, before it.
    struct Place {
      std::int64_t start;
      std::int64_t feeds;
    };
    std::vector<Place> places;
    // The slots that hold a 0 (a 0x1A), in order, so that a window's end
    // is found without scanning it.
    std::vector<std::size_t> zeros;
    std::size_t head = 0;
    // Where reading goes on, and the line feeds passed up to there.
    std::int64_t read_end = 0;
    std::int64_t feeds_at_end = 0;
    // The line feeds passed up to the look-ahead's start: a start read
    // afresh may have line feeds before its first slot (after a 0x1A), and
    // those end the span's line.
    std::int64_t start_feeds = 0;
    // The source ended (or failed): every further slot is 0.
    bool ended = false;
    // Slots dropped from the front since the last restart.
    std::int64_t dropped = 0;
    std::uint64_t generation = 0;
  };

  // Reads one slot of source `k` into `part` from `src`.
  template <typename SlotReader>
  static void ReadSlot(SlotReader& reader, int k, SourceStream& src,
                       Part& part) {
    std::int64_t start;
    const Code code = reader.Read(k, src, start, part.feeds_at_end);
    if (code == kEndOfSource) {
      if (reader.Ended(k, src)) {
        part.ended = true;
        return;
      }
      part.zeros.push_back(part.codes.size());
    }
    part.codes.push_back(static_cast<Unit>(code));
    part.places.push_back({start, part.feeds_at_end});
  }
  void Restart(Part& part, std::int64_t start);

  std::array<Part, kMaxSources> parts_;
  std::uint64_t restarts_ = 0;
};

template <typename Unit>
template <typename SlotReader>
void BasicLookAheadSlots<Unit>::ReadSlotsWith(
    SlotReader reader, std::array<SourceStream*, kMaxSources> sources, int n,
    std::int64_t count) {
  std::int64_t least = count;
  for (int k = 0; k < n; ++k) {
    const Part& part = parts_[k];
    if (part.ended) continue;
    least = std::min<std::int64_t>(
        least, static_cast<std::int64_t>(part.codes.size() - part.head));
  }
  if (least >= count) return;
  std::array<bool, kMaxSources> positioned{};
  for (std::int64_t slot = least; slot < count; ++slot) {
    for (int k = 0; k < n; ++k) {
      Part& part = parts_[k];
      if (part.ended ||
          static_cast<std::int64_t>(part.codes.size() - part.head) > slot) {
        continue;
      }
      SourceStream& src = *sources[k];
      if (!positioned[k]) {
        src.Seek(part.read_end);
        positioned[k] = true;
      }
      ReadSlot(reader, k, src, part);
    }
  }
  for (int k = 0; k < n; ++k) {
    if (positioned[k]) parts_[k].read_end = sources[k]->Tell();
  }
}

// A Big5 run's slots: 16-bit codes.
using LookAheadSlots = BasicLookAheadSlots<std::uint16_t>;
// A Unicode run's slots: 32-bit keys (UnicodeKeys.h).
using WideLookAheadSlots = BasicLookAheadSlots<std::uint32_t>;

}  // namespace tessel

#endif  // TESSEL_ENGINE_LOOKAHEADSLOTS_H_
