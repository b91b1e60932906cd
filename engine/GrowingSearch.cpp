#include "GrowingSearch.h"

#include <utility>

namespace tessel {

namespace {

template <typename Unit>
AnchorMatch TryGrownIn(
    const std::array<std::span<const Unit>, kMaxSources>& windows, int n,
    const SlotFrame& frame, FarAnchorMemo* memo) {
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

AnchorMatch TryGrownLookAhead(
    const std::array<std::span<const std::uint16_t>, kMaxSources>& windows,
    int n, const SlotFrame& frame, FarAnchorMemo* memo) {
  return TryGrownIn(windows, n, frame, memo);
}

AnchorMatch TryGrownLookAhead(
    const std::array<std::span<const std::uint32_t>, kMaxSources>& windows,
    int n, const SlotFrame& frame, FarAnchorMemo* memo) {
  return TryGrownIn(windows, n, frame, memo);
}

}  // namespace tessel
