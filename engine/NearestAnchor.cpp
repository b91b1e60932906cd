#include "NearestAnchor.h"

#include <algorithm>

namespace tessel {

namespace {

template <typename Unit>
AnchorMatch SearchNearestAnchorIn(
    std::array<std::span<const Unit>, kMaxSources> windows, int window_count,
    const AnchorRules& rules, std::size_t first_reach) {
  std::size_t longest = 0;
  for (int k = 0; k < window_count; ++k) {
    longest = std::max(longest, windows[k].size());
  }
  for (std::size_t reach = std::max<std::size_t>(first_reach, kFirstReach);
       reach < longest; reach *= kReachGrowth) {
    std::array<std::span<const Unit>, kMaxSources> near;
    for (int k = 0; k < window_count; ++k) {
      near[k] = windows[k].first(std::min(reach, windows[k].size()));
    }
    // The smallest sum of any candidate the reach hides.
    const std::int64_t hidden_sum =
        2 * (static_cast<std::int64_t>(reach) - kLongestAnchor + 1);
    const AnchorMatch match =
        SearchAnchor(near, window_count, rules, hidden_sum - 1);
    if (match.longest_best < rules.bound && match.longest_best < hidden_sum) {
      return match;
    }
  }
  return SearchAnchor(windows, window_count, rules);
}

}  // namespace

AnchorMatch SearchNearestAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, std::size_t first_reach) {
  return SearchNearestAnchorIn(windows, window_count, rules, first_reach);
}

AnchorMatch SearchNearestAnchor(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules, std::size_t first_reach) {
  return SearchNearestAnchorIn(windows, window_count, rules, first_reach);
}

}  // namespace tessel
