// The resynchronisation search: after a difference, finds where the sources
// agree again within a look-ahead, and how long each differing stretch is.

#ifndef TESSEL_ENGINE_RESYNC_H_
#define TESSEL_ENGINE_RESYNC_H_

#include <array>
#include <cstdint>
#include <span>

#include "RunState.h"
#include "TokenReader.h"
#include "VariantKeys.h"

namespace tessel {

// Anchors are tried with 10, 7, 4 and then 1 characters.
constexpr int kLongestAnchor = 10;
constexpr int kAnchorStep = 3;
// The bound on an anchor: one whose offsets add up to this many packed
// bytes or more is never taken, so no anchor starts this far into window 0.
constexpr std::int32_t kAnchorSumLimit = 9999;

struct AnchorMatch {
  // The smallest sum of offsets found; kAnchorSumLimit while none is.
  std::int32_t best = kAnchorSumLimit;
  // The anchor's offset in each window, in packed bytes. Without an anchor,
  // the length of each window.
  std::array<std::int32_t, kMaxSources> offsets{};

  bool found() const { return best < kAnchorSumLimit; }
};

// Searches `windows` (compared characters only, none of them 0) for the
// anchor taken from window 0 that lies nearest in all of them: the sweeps
// with 10, 7 and 4 characters, then a sweep with 1 character if an anchor
// of at least 4 occurred in every window. After each sweep every window is
// cut before the best anchor so far.
AnchorMatch SearchAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count);

// Backs every source up over its differing character (position.current),
// records the span starts, reads the look-ahead of window_size compared
// characters into the windows, and sets the span lengths: the anchor
// offsets, capped at the rest of the current line (position.lines). The
// windows hold each character's key in `keys`, so that variants anchor as
// one character. Leaves
// each current code at the last code of its look-ahead (0 when the source
// ended within it). Returns whether an anchor was found.
bool FindResync(TokenReader& reader, RunSources& sources,
                WalkPosition& position, LookAhead& look_ahead,
                DifferenceSpans& spans, VariantKeys& keys);

}  // namespace tessel

#endif  // TESSEL_ENGINE_RESYNC_H_
