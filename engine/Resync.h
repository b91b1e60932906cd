// The resynchronisation search: after a difference, finds where the sources
// agree again within a look-ahead, and how long each differing stretch is.

#ifndef TESSEL_ENGINE_RESYNC_H_
#define TESSEL_ENGINE_RESYNC_H_

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "AnchorRules.h"
#include "RunState.h"
#include "TokenReader.h"
#include "VariantKeys.h"

namespace tessel {

// Anchors are tried with 10, 7, 4 and then 1 characters.
constexpr int kLongestAnchor = 10;
constexpr int kAnchorStep = 3;
// kAnchorSumLimit, the bound on an anchor of a fixed look-ahead, is defined
// in AnchorRules.h with the rules of the growing one.

struct AnchorMatch {
  // The smallest sum of offsets found; `bound` while none is.
  std::int32_t best = kAnchorSumLimit;
  // The rules' bound on a sum: an anchor was found when best lies below.
  std::int32_t bound = kAnchorSumLimit;
  // The anchor's offset in each window, in packed bytes. Without an anchor,
  // the length of each window.
  std::array<std::int32_t, kMaxSources> offsets{};
  // The smallest sum after the sweep with the longest anchors alone.
  std::int32_t longest_best = kAnchorSumLimit;

  bool found() const { return best < bound; }
};

// Searches `windows` (compared characters only, none of them 0) for the
// anchor taken from window 0 that lies nearest in all of them: the sweeps
// with 10, 7 and 4 characters, then a sweep with 1 character if an anchor
// of at least 4 occurred in every window. After each sweep every window is
// cut before the best anchor so far. Only sums below `rules.bound` are
// taken; the sweep with 1 character sees the first `rules.single_reach`
// characters of each cut window only. When the sweep with the longest
// anchors leaves a best sum above `enough` (packed bytes), the search stops
// there and returns what that sweep found.
AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules = kFixedRules,
    std::int64_t enough = std::numeric_limits<std::int64_t>::max());
// The same over the 32-bit keys of a Unicode run.
AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules = kFixedRules,
    std::int64_t enough = std::numeric_limits<std::int64_t>::max());

// What the sweep with the longest anchors of one search saw, so that a
// search that starts a little further on can be answered from it
// (FarAnchorMemo).
struct LongestSweepRecord {
  // How many offsets of window 0 the sweep tried, from 0 on: every run of
  // kLongestAnchor characters that starts before this offset either occurs
  // in every window (and is listed below) or is missing from some window.
  std::int32_t tried = 0;
  // The runs that occur in every window, in the order tried: for each, its
  // offset in each of the window_count windows, in characters.
  std::vector<std::int32_t> everywhere;
};

// SearchAnchor over the whole windows, which also fills `record`.
AnchorMatch SearchAnchorRecording(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, LongestSweepRecord& record);
AnchorMatch SearchAnchorRecording(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, LongestSweepRecord& record);

// The rest of SearchAnchor once its sweep with the longest anchors is known
// to leave `longest` (an anchor taken: best, longest_best and offsets set):
// the windows are cut before it and the shorter sweeps made.
AnchorMatch FinishAnchorSearch(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, const AnchorMatch& longest);
AnchorMatch FinishAnchorSearch(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, const AnchorMatch& longest);

// Backs every source up over its differing character (position.current),
// records the span starts, reads the look-ahead of look_ahead.window_size
// compared characters (with the growing look-ahead: of 100, then four
// times as many while no anchor is found and some look-ahead did not reach
// the end of its source, up to look_ahead.max_window), and sets the span
// lengths: the anchor offsets, capped at the rest of the current line
// (position.lines). Sets each current code to the last code of the
// look-ahead used (0 when the source ended within it), and raises
// look_ahead.reached_window to that look-ahead. Returns whether an anchor
// was found. Throws std::bad_alloc when a growing look-ahead does not fit
// in memory.
// The search sees each character's key in `keys`, so that variants anchor
// as one character.
bool FindResync(TokenReader& reader, RunSources& sources,
                WalkPosition& position, LookAhead& look_ahead,
                DifferenceSpans& spans, VariantKeys& keys);

}  // namespace tessel

#endif  // TESSEL_ENGINE_RESYNC_H_
