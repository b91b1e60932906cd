// The tries of the look-ahead in one search after a difference: a fixed
// look-ahead is tried once; the growing one from kAutoFirstWindow on, four
// times as long after each try that takes no anchor. Big5 runs (16-bit
// codes) and Unicode runs (32-bit keys) share them: the memo that answers
// the later tries knows slot numbers only.

#ifndef TESSEL_ENGINE_GROWINGSEARCH_H_
#define TESSEL_ENGINE_GROWINGSEARCH_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "AnchorRules.h"
#include "FarAnchorMemo.h"
#include "NearestAnchor.h"
#include "Resync.h"

namespace tessel {

struct LookAheadTry {
  AnchorMatch match;
  // The look-ahead of the last try made.
  std::int32_t window = 0;
};

// A try with the growing look-ahead's rules (kAutoRules) over `windows`,
// which begin at `frame`: answered from `memo` where it can tell, else
// searched in full and recorded in it. Without a memo, SearchAnchor.
AnchorMatch TryGrownLookAhead(
    const std::array<std::span<const std::uint16_t>, kMaxSources>& windows,
    int n, const SlotFrame& frame, FarAnchorMemo* memo);
AnchorMatch TryGrownLookAhead(
    const std::array<std::span<const std::uint32_t>, kMaxSources>& windows,
    int n, const SlotFrame& frame, FarAnchorMemo* memo);

// `windows_of(window)` gives the windows of a try of `window` characters:
// an array of kMaxSources spans of 16-bit codes or of 32-bit keys, each
// source's look-ahead as the search sees it, up to its first end, valid
// until the next call.
//
// A fixed look-ahead (`growing` false) is tried once, at `window_size`,
// with kFixedRules. The growing one is tried at kAutoFirstWindow (or
// `max_window` if smaller) with kFixedRules, then, while no anchor is taken,
// some window holds all its characters and the look-ahead is below
// `max_window`, at NextAutoWindow with kAutoRules. Those later tries ask
// `memo` first, if given (the windows begin at `frame`), and a try it
// cannot answer is searched in full and recorded in it. The outcome is the
// same with or without a memo.
template <typename WindowsOf>
LookAheadTry TryLookAheads(WindowsOf&& windows_of, int n, bool growing,
                           std::int32_t window_size, std::int32_t max_window,
                           const SlotFrame& frame, FarAnchorMemo* memo) {
  LookAheadTry tried;
  tried.window = growing ? std::min(kAutoFirstWindow, max_window) : window_size;
  for (;;) {
    // The first try of the growing look-ahead is that of a fixed one.
    const bool fixed_rules = !growing || tried.window <= kAutoFirstWindow;
    const auto windows = windows_of(tried.window);
    bool all_ended = true;
    for (int k = 0; k < n; ++k) {
      all_ended &= windows[k].size() < static_cast<std::size_t>(tried.window);
    }
    // A later try comes after one that found no anchor within a quarter of
    // its size, so it searches the whole of it at once.
    tried.match = fixed_rules ? SearchNearestAnchor(windows, n, kFixedRules)
                              : TryGrownLookAhead(windows, n, frame, memo);
    if (!growing || tried.match.found() || all_ended ||
        tried.window >= max_window) {
      return tried;
    }
    tried.window = NextAutoWindow(tried.window, max_window);
  }
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_GROWINGSEARCH_H_
