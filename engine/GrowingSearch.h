// The tries of the look-ahead in one search after a difference: a fixed
// look-ahead is tried once; the growing one from kAutoFirstWindow on, four
// times as long after each try that takes no anchor.

#ifndef TESSEL_ENGINE_GROWINGSEARCH_H_
#define TESSEL_ENGINE_GROWINGSEARCH_H_

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "FarAnchorMemo.h"
#include "Resync.h"

namespace tessel {

// The windows of a try of `window` characters: each source's look-ahead as
// the search sees it, up to its first end. The spans stay valid until the
// next call.
using TryWindows =
    std::function<std::array<std::span<const std::uint16_t>, kMaxSources>(
        std::int32_t window)>;

struct LookAheadTry {
  AnchorMatch match;
  // The look-ahead of the last try made.
  std::int32_t window = 0;
};

// A fixed look-ahead (`growing` false) is tried once, at `window_size`,
// with kFixedRules. The growing one is tried at kAutoFirstWindow (or
// `max_window` if smaller) with kFixedRules, then, while no anchor is taken,
// some window holds all its characters and the look-ahead is below
// `max_window`, at NextAutoWindow with kAutoRules. Those later tries ask
// `memo` first, if given (the windows begin at `frame`), and a try it
// cannot answer is searched in full and recorded in it. The outcome is the
// same with or without a memo.
LookAheadTry TryLookAheads(const TryWindows& windows_of, int n, bool growing,
                           std::int32_t window_size, std::int32_t max_window,
                           const SlotFrame& frame, FarAnchorMemo* memo);

}  // namespace tessel

#endif  // TESSEL_ENGINE_GROWINGSEARCH_H_
