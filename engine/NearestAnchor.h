// The anchor search at a cost that grows with the distance to the anchor
// rather than with the look-ahead: most differences are a character or two
// and their anchor lies a few characters away, however wide the look-ahead.

#ifndef TESSEL_ENGINE_NEARESTANCHOR_H_
#define TESSEL_ENGINE_NEARESTANCHOR_H_

#include <array>
#include <cstdint>
#include <span>

#include "AnchorRules.h"
#include "Resync.h"

namespace tessel {

// The first reach the search tries, in characters.
constexpr std::size_t kFirstReach = 64;
// Each reach that decides nothing is followed by one this many times as
// long.
constexpr std::size_t kReachGrowth = 4;

// Gives exactly what SearchAnchor(windows, window_count, rules) gives. It
// searches the first `reach` characters of every window first (64, then
// kReachGrowth times as many) and stops as soon as the sweep with the longest
// anchors took an anchor that no character beyond the reach could beat:
// one whose sum of offsets is at most reach - 10 characters. Every
// candidate that the reach hides has an offset above reach - 10 in some
// window, so its sum is larger; and once that sweep agrees, the windows
// are cut within the reach and every later sweep sees the same characters.
// A caller that knows no anchor lies within a smaller reach may start
// further out with `first_reach`.
AnchorMatch SearchNearestAnchor(
    std::array<std::span<const std::uint16_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules,
    std::size_t first_reach = kFirstReach);
// The same over the 32-bit keys of a Unicode run.
AnchorMatch SearchNearestAnchor(
    std::array<std::span<const std::uint32_t>, kMaxSources> windows,
    int window_count, const AnchorRules& rules,
    std::size_t first_reach = kFirstReach);

}  // namespace tessel

#endif  // TESSEL_ENGINE_NEARESTANCHOR_H_
