#include "Resync.h"

#include <algorithm>
#include <cassert>

#include "GramIndex.h"
#include "LookAheadSearch.h"

namespace tessel {

namespace {

// Returns the first index at which `pattern` occurs in `text`, or -1. Only
// whole characters are compared, which is the rule that a match counts at
// even byte offsets only.
template <typename Unit>
std::int32_t FindFirst(std::span<const Unit> text,
                       std::span<const Unit> pattern) {
  const auto hit =
      std::search(text.begin(), text.end(), pattern.begin(), pattern.end());
  if (hit == text.end()) return -1;
  return static_cast<std::int32_t>(hit - text.begin());
}

// With `record`, the sweep with the longest anchors fills it; with
// `longest`, that sweep is not made and its outcome is taken from there.
template <typename Unit>
AnchorMatch SearchAnchorIn(
    std::array<std::span<const Unit>, kMaxSources> windows, int window_count,
    const AnchorRules& rules, std::int64_t enough,
    LongestSweepRecord* record = nullptr,
    const AnchorMatch* longest = nullptr) {
  // A scan of the window answers the first few lookups of a sweep; an index
  // pays for itself once many anchors are tried against a long window.
  constexpr int kScansBeforeIndex = 8;
  std::array<BasicGramIndex<Unit>, kMaxSources> indexes;
  AnchorMatch match;
  match.best = rules.bound;
  match.bound = rules.bound;
  for (int k = 0; k < window_count; ++k) {
    match.offsets[k] = static_cast<std::int32_t>(2 * windows[k].size());
  }
  bool found = false;
  if (record != nullptr) {
    record->tried = 0;
    record->everywhere.clear();
  }
  if (longest != nullptr) {
    match = *longest;
    match.bound = rules.bound;
    found = true;
  }
  for (int length = kLongestAnchor; length > 0; length -= kAnchorStep) {
    // A window shorter than the anchor holds none, and the sweep would
    // only try every offset of window 0 in vain.
    bool room = true;
    for (int k = 0; k < window_count; ++k) {
      room &= windows[k].size() >= static_cast<std::size_t>(length);
    }
    const bool given = length == kLongestAnchor && longest != nullptr;
    // A single common character only moves an anchor of 4 or more closer.
    if ((length > 1 || found) && room && !given) {
      if (length == 1) {
        for (int k = 0; k < window_count; ++k) {
          windows[k] = windows[k].first(std::min<std::size_t>(
              windows[k].size(), static_cast<std::size_t>(rules.single_reach)));
        }
      }
      int lookups = 0;
      const std::uint64_t top = BasicGramIndex<Unit>::TopWeight(length);
      std::uint64_t hash = 0;
      for (std::int32_t i = 0;; i += 2) {
        const std::size_t first = static_cast<std::size_t>(i / 2);
        if (windows[0].size() < first + static_cast<std::size_t>(length)) {
          break;
        }
        const auto anchor = windows[0].subspan(first, length);
        // The anchor's hash rolls along window 0 for the index lookups.
        hash = first == 0
                   ? BasicGramIndex<Unit>::Hash(anchor)
                   : BasicGramIndex<Unit>::Roll(hash, windows[0][first - 1],
                                                anchor.back(), top);
        std::int32_t sum = i;
        std::array<std::int32_t, kMaxSources> at{i, 0, 0};
        bool everywhere = true;
        if (++lookups == kScansBeforeIndex) {
          for (int k = 1; k < window_count; ++k) {
            indexes[k].Build(windows[k], static_cast<std::size_t>(length));
          }
        }
        for (int k = 1; k < window_count && everywhere; ++k) {
          const std::int32_t p = lookups >= kScansBeforeIndex
                                     ? indexes[k].FindFirst(anchor, hash)
                                     : FindFirst<Unit>(windows[k], anchor);
          everywhere = p >= 0;
          at[k] = 2 * p;
          sum += 2 * p;
        }
        if (length == kLongestAnchor && record != nullptr) {
          ++record->tried;
          if (everywhere) {
            for (int k = 0; k < window_count; ++k) {
              record->everywhere.push_back(at[k] / 2);
            }
          }
        }
        if (everywhere) {
          if (sum < match.best) {
            match.best = sum;
            match.offsets = at;
          }
          found = true;
        }
        if (i + 2 > match.best) break;
      }
    }
    if (length == kLongestAnchor) {
      match.longest_best = match.best;
      if (match.best > enough) return match;
      if (rules.short_after_longest && match.best >= rules.bound) {
        return match;
      }
    }
    // Later sweeps see only what lies before the best anchor so far.
    for (int k = 0; k < window_count; ++k) {
      windows[k] = windows[k].first(static_cast<std::size_t>(
          std::min<std::int64_t>(match.offsets[k] / 2, windows[k].size())));
    }
  }
  return match;
}

}  // namespace

AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, std::int64_t enough) {
  return SearchAnchorIn<std::uint16_t>(windows, window_count, rules, enough);
}

AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, std::int64_t enough) {
  return SearchAnchorIn<std::uint32_t>(windows, window_count, rules, enough);
}

AnchorMatch SearchAnchorRecording(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, LongestSweepRecord& record) {
  return SearchAnchorIn<std::uint16_t>(windows, window_count, rules,
                                       std::numeric_limits<std::int64_t>::max(),
                                       &record);
}

AnchorMatch FinishAnchorSearch(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, const AnchorMatch& longest) {
  return SearchAnchorIn<std::uint16_t>(windows, window_count, rules,
                                       std::numeric_limits<std::int64_t>::max(),
                                       nullptr, &longest);
}

AnchorMatch SearchAnchorRecording(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, LongestSweepRecord& record) {
  return SearchAnchorIn<std::uint32_t>(windows, window_count, rules,
                                       std::numeric_limits<std::int64_t>::max(),
                                       &record);
}

AnchorMatch FinishAnchorSearch(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, const AnchorMatch& longest) {
  return SearchAnchorIn<std::uint32_t>(windows, window_count, rules,
                                       std::numeric_limits<std::int64_t>::max(),
                                       nullptr, &longest);
}

bool FindResync(TokenReader& reader, RunSources& sources,
                WalkPosition& position, LookAhead& look_ahead,
                DifferenceSpans& spans, VariantKeys& keys) {
  const int n = sources.count;
  std::array<SourceStream*, kMaxSources> streams{};

  for (int k = 0; k < n; ++k) {
    SourceStream& src = *sources.streams[k];
    streams[k] = &src;
    const Code code = position.current[k];
    std::int64_t back = 0;
    if (code == kEndOfSource) {
      back = 0;
    } else if (IsSingleByteCode(code)) {
      // A high byte that took a NUL along with it stands for two bytes.
      back = (code >= kSingleByteBase + kFirstHighByte && src.PrecededByNul())
                 ? 2
                 : 1;
    } else if (IsDoubleByteCode(code)) {
      back = 2;
    } else {
      back = static_cast<std::int64_t>(reader.TokenLength(code, src));
    }
    src.SeekRelative(-back);
    spans.start[k] = src.Tell();
    look_ahead.kept.Start(k, spans.start[k]);
  }

  TokenSlotReader slot_reader(reader);
  return SearchLookAhead(
      look_ahead.kept, slot_reader, streams, n, look_ahead, position, spans,
      [&](int k, const SlotFrame& frame, std::span<const std::uint16_t> codes) {
        if (!keys.active()) return codes;
        // Variants must anchor as one character: the search sees keys.
        return look_ahead.keyed.Keys(
            k, frame.first[k], frame.generation[k], codes,
            [&keys](std::uint16_t code) { return keys.Key(code); });
      });
}

}  // namespace tessel
