// The limits under which the anchor search takes an anchor: the fixed
// look-ahead keeps the bounds it always had; the growing look-ahead drops
// the bound on the sum and keeps single common characters near.

#ifndef TESSEL_ENGINE_ANCHORRULES_H_
#define TESSEL_ENGINE_ANCHORRULES_H_

#include <cstdint>
#include <limits>

namespace tessel {

// The bound on an anchor of a fixed look-ahead: one whose offsets add up to
// this many packed bytes or more is never taken, so no anchor starts this
// far into window 0.
constexpr std::int32_t kAnchorSumLimit = 9999;

// The growing look-ahead starts here, and each try that finds no anchor is
// made again with a look-ahead this many times as long.
constexpr std::int32_t kAutoFirstWindow = 100;
constexpr std::int32_t kAutoGrowth = 4;
// Its largest look-ahead: 4^10 characters unless the user gives another,
// and at most 4^12, which keeps every sum of offsets within 32 bits.
constexpr std::int32_t kDefaultAutoMaxWindow = 1 << 20;
constexpr std::int32_t kMostAutoMaxWindow = 1 << 24;
constexpr std::int32_t kLeastAutoMaxWindow = kAutoFirstWindow;

struct AnchorRules {
  // An anchor whose offsets add up to this many packed bytes or more is
  // never taken; also the search's answer when it takes none.
  std::int32_t bound = kAnchorSumLimit;
  // The sweep with one character looks only at this many characters at the
  // start of each window.
  std::int32_t single_reach = std::numeric_limits<std::int32_t>::max();
  // The sweeps with shorter anchors are made only once the sweep with the
  // longest anchors has taken one, and so look only before it: over a wide
  // look-ahead a few common characters recur by chance.
  bool short_after_longest = false;
};

// The rules of a fixed look-ahead.
constexpr AnchorRules kFixedRules{};
// The rules of the tries of the growing look-ahead after the first, which
// keeps those of a fixed look-ahead of kAutoFirstWindow: any anchor within
// the windows counts, a shorter anchor only before one of the longest, and
// a single common character bridges no more than the first try could.
constexpr AnchorRules kAutoRules{std::numeric_limits<std::int32_t>::max(),
                                 kAutoFirstWindow, true};

// The look-ahead of the try after one of `window` characters that found
// nothing, or `window` itself when it is already `max_window`.
constexpr std::int32_t NextAutoWindow(std::int32_t window,
                                      std::int32_t max_window) {
  return window > max_window / kAutoGrowth ? max_window : window * kAutoGrowth;
}

}  // namespace tessel

#endif  // TESSEL_ENGINE_ANCHORRULES_H_
