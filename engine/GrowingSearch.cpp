#include "GrowingSearch.h"

#include <algorithm>
#include <utility>

#include "NearestAnchor.h"

namespace tessel {

namespace {

// A try with the growing look-ahead's rules: from the memo where it can
// tell, else in full.
AnchorMatch TryGrown(
    const std::array<std::span<const std::uint16_t>, kMaxSources>& windows,
    int n, const SlotFrame& frame, FarAnchorMemo* memo) {
  if (memo == nullptr) return SearchAnchor(windows, n, kAutoRules);
  SlotCounts sizes{};
  for (int k = 0; k < n; ++k) {
    sizes[k] = static_cast<std::int64_t>(windows[k].size());
  }
  AnchorMatch longest;
  switch (memo->Judge(frame, sizes, n, longest)) {
    case FarAnchorMemo::Verdict::kLongest:
      return FinishAnchorSearch(windows, n, kAutoRules, longest);
    case FarAnchorMemo::Verdict::kNoAnchor: {
      // What SearchAnchor answers when its longest sweep takes nothing.
      AnchorMatch none;
      none.best = none.bound = none.longest_best = kAutoRules.bound;
      for (int k = 0; k < n; ++k) {
        none.offsets[k] = static_cast<std::int32_t>(2 * sizes[k]);
      }
      return none;
    }
    case FarAnchorMemo::Verdict::kUnknown:
      break;
  }
  LongestSweepRecord record;
  const AnchorMatch match =
      SearchAnchorRecording(windows, n, kAutoRules, record);
  memo->Keep(frame, sizes, n, std::move(record));
  return match;
}

}  // namespace

LookAheadTry TryLookAheads(const TryWindows& windows_of, int n, bool growing,
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
                              : TryGrown(windows, n, frame, memo);
    if (!growing || tried.match.found() || all_ended ||
        tried.window >= max_window) {
      return tried;
    }
    tried.window = NextAutoWindow(tried.window, max_window);
  }
}

}  // namespace tessel
